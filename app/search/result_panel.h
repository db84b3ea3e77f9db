// The result grids: the following draws and their tally, each a CellGrid shown through a model, header row first. Above
// the tally, a line that says whether it is more than chance, with its chart a click away.
#pragma once

#include "analysis/chance_baseline.h"
#include "store/grid_cell.h"
#include "store/row_grid.h"

#include <QByteArray>
#include <QPoint>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QSplitter;

namespace drawfollow {

class FlexGrid;
class TextGridModel;

class ResultPanel final : public QWidget {
    Q_OBJECT

public:
    explicit ResultPanel(QWidget* parent = nullptr);

    FlexGrid* hitsGrid() const { return hits_; }
    FlexGrid* tallyGrid() const { return tally_; }
    // What the grids show, header row first.
    const RowGrid& hitsCells() const;
    const RowGrid& tallyCells() const;

    void showHits(RowGrid grid);
    // A tally without a comparison with chance (a search that did not run).
    void showTally(CellGrid grid);
    // A tally with what chance gives each value beside it.
    void showTally(CellGrid grid, const ChanceBaseline& chance);
    // A tally whose comparison with chance could not be made, and why.
    void showTally(CellGrid grid, const QString& chanceProblem);
    QPushButton* chanceChartButton() const { return chartButton_; }
    // One line above the grids: what the last search found, or why it did not run.
    void setNote(const QString& text, bool problem);
    // A later word on the last search (its fields not stored), after what the note says.
    void appendNote(const QString& text);
    // The history was replaced or cut: the last results describe draws that may be gone.
    void clear(bool previousIssue);
    // A draw was added: a search refused for want of draws may run now.
    void clearProblem();
    // The split between the two grids, kept between runs; an unreadable state leaves the
    // tally its full width.
    QByteArray splitState() const;
    void restoreSplit(const QByteArray& state);

    // The wrapped summary and verdict lines would make the panel ask for more height the
    // narrower it is, and the search column would then push it past a small screen's bottom:
    // the panel takes the height it is given, its lines wrap within it.
    bool hasHeightForWidth() const override { return false; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillTally(CellGrid grid, std::vector<QPoint> shaded);
    void setChanceLine(const QString& text, bool problem);
    void openChart();

    TextGridModel* hitsModel_;
    TextGridModel* tallyModel_;
    FlexGrid* hits_;
    FlexGrid* tally_;
    QSplitter* splitter_;
    int tallyWidth_ = 0;        // every tally column in sight
    int tallyCountsWidth_ = 0;  // 序号, 结果 and 出现次数 in sight
    bool splitPlaced_ = false;
    QLabel* note_;
    QLabel* chanceLine_;
    QPushButton* chartButton_;
    std::optional<ChanceBaseline> chance_;
    bool problem_ = false;
};

}  // namespace drawfollow
