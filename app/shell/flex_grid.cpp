#include "app/shell/flex_grid.h"

#include "app/shell/ui_text.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace drawfollow {

FlexGrid::FlexGrid(const QString& objectName, QWidget* parent) : QTableView(parent) {
    setObjectName(objectName);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setVerticalScrollMode(ScrollPerItem);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(8);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int max) {
        if (pinnedToBottom_)
            verticalScrollBar()->setValue(max);
    });
    // Any scrolling by the user releases the pin.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { pinnedToBottom_ = false; });
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, &FlexGrid::gridDoubleClicked);
}

void FlexGrid::keepLastRowInView() {
    pinnedToBottom_ = true;
    scrollToBottom();
}

void FlexGrid::setColumnWidthsTwips(std::span<const int> twips) {
    int column = 0;
    for (int t : twips) {
        // Never narrower than the header text, whatever the font.
        const QString header = model() ? model()->headerData(column, Qt::Horizontal).toString() : QString();
        const int textWidth = horizontalHeader()->fontMetrics().horizontalAdvance(header) + 12;
        setColumnWidth(column++, std::max(twipsToPixels(t, this), textWidth));
    }
}

void FlexGrid::fitColumnTo(int column, const QString& sample) {
    const int needed = fontMetrics().horizontalAdvance(sample) + 14;
    if (columnWidth(column) < needed)
        setColumnWidth(column, needed);
}

void FlexGrid::wheelEvent(QWheelEvent* event) {
    const int dy = event->angleDelta().y();
    if (dy == 0) {
        QTableView::wheelEvent(event);
        return;
    }
    // One row per notch (120 eighths of a degree); finer wheels add up to a notch.
    // The scroll bar stops at row 0 and at its end, so neither end is an error.
    pinnedToBottom_ = false;
    wheelRemainder_ += dy;
    const int notches = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - notches);
    event->accept();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit rightButtonReleased(event->globalPosition().toPoint());
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit gridDoubleClicked();
}

}  // namespace drawfollow
