#include "app/trend/trend_reading.h"

#include "app/trend/trend_chart_data.h"
#include "store/history_db.h"

#include <exception>

namespace drawfollow {

TrendReading readTrendReading(const std::shared_ptr<const HistorySnapshot>& history, const TrendChoice& choice,
                              const IssueRange& range, WholeHistoryRates rates) {
    TrendReading reading;
    try {
        reading.table = trendOf(*history, choice, range);
        // A range open at both ends is the whole history: no second walk.
        const bool whole = !range.first && !range.last;
        if (rates == WholeHistoryRates::Read)
            reading.perDraw = countsPerDraw(whole ? reading.table : trendOf(*history, choice));
    } catch (const std::exception& e) {
        // Nothing may escape a worker: the window says what went wrong instead.
        reading.table = {};
        reading.perDraw.reset();
        reading.problem = QStringLiteral("走势图未能读出：%1").arg(QString::fromStdString(failureText(e)));
    }
    return reading;
}

}  // namespace drawfollow
