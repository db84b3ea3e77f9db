// The top of the 走势图 window: the kind, the scope and the range of issues to chart, with
// the last 30, 50 or 100 draws or all of them in one click.
#pragma once

#include "analysis/trend_table.h"

#include <QWidget>

#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;

namespace drawfollow {

class TrendRangeBar final : public QWidget {
    Q_OBJECT

public:
    explicit TrendRangeBar(QWidget* parent = nullptr);

    Kind kind() const;
    TallyScope scope() const;
    // The range in the boxes; an empty box is an open end. None, with the reason, when a
    // box holds something other than an issue number.
    std::optional<IssueRange> range(QString* problem) const;

    // The issues the quick buttons count back from, oldest first.
    void setIssues(std::vector<int> issues) { issues_ = std::move(issues); }
    // The newest `draws` of the issues in the boxes; 0 for all of them.
    void showLast(int draws);

signals:
    // Any choice changed: the chart is to be read again.
    void changed();

private:
    QComboBox* kindBox_;
    QComboBox* scopeBox_;
    QLineEdit* firstBox_;
    QLineEdit* lastBox_;
    std::vector<int> issues_;
};

}  // namespace drawfollow
