// The option frames of the search panel: positions, period, number group, search kind,
// result kind and tally scope, in
// as many columns as the width allows; where not even two fit, two at a time under three
// page tabs, and a fourth page takes the search row's frames. Every choice is saved the
// moment it changes.
#pragma once

#include "store/draw.h"

#include <QList>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QTabBar;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace drawfollow {

class ColumnFlowLayout;
class SearchPanelController;

class SearchOptions final : public QWidget {
    Q_OBJECT

public:
    explicit SearchOptions(SearchPanelController& controller, QWidget* parent = nullptr);

    // Where Tab goes: the frames in reading order.
    QList<QWidget*> focusOrder() const;
    // The page tabs, shown only where the frames do not fit side by side.
    QTabBar* pageTabs() const { return pages_; }
    // The last page, for the search row's frames while the options are paged (pagedChanged).
    QWidget* searchRowPage() const { return searchRowPage_; }
    QSize minimumSizeHint() const override;

signals:
    void pagedChanged(bool paged);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    static constexpr int kPages = 3;  // of the frames here; the search row's page follows
    static constexpr size_t kFramesPerPage = 2;
    void showPages();
    QGroupBox* positionFrame();
    QGroupBox* periodFrame();
    QGroupBox* groupFrame();
    // `choose` is a function, not a pointer to a member of the controller: GCC 12's check of
    // the object's type at a call through such a pointer reads a register it never set
    // (reported as a stack-buffer-underflow under ASan+UBSan).
    QGroupBox* kindFrame(const char* frame, const char* option, const QString& title, const QString& purpose,
                         Kind selected, const std::function<void(Kind)>& choose);
    QGroupBox* scopeFrame();
    void applyGap();

    SearchPanelController& controller_;
    QRadioButton* fixed_ = nullptr;
    QRadioButton* free_ = nullptr;
    QCheckBox* countSpecialCheck_ = nullptr;  // 自由位计特码
    QLineEdit* gap_ = nullptr;
    QTabBar* pages_ = nullptr;
    std::array<QGroupBox*, kPages * kFramesPerPage> frames_{};
    ColumnFlowLayout* flow_ = nullptr;
    QWidget* searchRowPage_ = nullptr;
};

}  // namespace drawfollow
