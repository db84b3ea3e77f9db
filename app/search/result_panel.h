// The result grids: the following draws in MSFlexGrid2 and their tally in
// MSFlexGrid3, each a TextGrid shown through a model, header row first.
#pragma once

#include "store/text_grid.h"

#include <QWidget>

class QLabel;

namespace drawfollow {

class FlexGrid;
class TextGridModel;

class ResultPanel final : public QWidget {
    Q_OBJECT

public:
    explicit ResultPanel(QWidget* parent = nullptr);

    FlexGrid* hitsGrid() const { return hits_; }    // MSFlexGrid2
    FlexGrid* tallyGrid() const { return tally_; }  // MSFlexGrid3

    void showHits(TextGrid grid);
    void showTally(TextGrid grid);
    // One line above the grids: what the last search found, or why it did not run.
    void setNote(const QString& text, bool problem);
    // The history was replaced or cut: the last results describe draws that may be gone.
    void clear(bool previousIssue);
    // A draw was added: a search refused for want of draws may run now.
    void clearProblem();

private:
    TextGridModel* hitsModel_;
    TextGridModel* tallyModel_;
    FlexGrid* hits_;
    FlexGrid* tally_;
    QLabel* note_;
    bool problem_ = false;
};

}  // namespace drawfollow
