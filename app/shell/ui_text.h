// Texts and small helpers shared by the widgets: position and kind names, control-array
// object names, grid widths given in twips, the Tab stops of a panel and the grids' export
// tooltip.
#pragma once

#include <QList>
#include <QString>

class QGroupBox;
class QRadioButton;
class QWidget;

namespace drawfollow {

enum class Kind : int;  // store/draw.h

// Position p (1..8) in grids and messages: "平3码", "特码".
QString positionName(int position);
// Caption of a position switch: "平3位", "特位".
QString switchCaption(int position);
// A kind as its option buttons name it: 号码, 生肖, 头数, 尾数, 合数, 段数.
QString kindCaption(Kind kind);
// Object name of a control-array member: "Check1_11", "Option3_4".
QString arrayName(const char* control, int index);

// A width given in twips (1/1440 inch) in the widget's pixels.
int twipsToPixels(int twips, const QWidget* widget);

// A frame of the search panel and an option button in it, under their object names.
QGroupBox* titledFrame(QWidget* parent, const char* name, const QString& title);
QRadioButton* optionButton(QWidget* parent, const char* control, int index, const QString& caption);

// Narrower margins inside every frame under `panel`, so that more frames fit a small screen.
void tightenFrames(QWidget* panel);

// The widgets under `root` that Tab stops at, in the order they were made: the panels
// make their controls in reading order.
QList<QWidget*> tabStops(const QWidget* root);
// `widgets` with every repeat after the first left out.
QList<QWidget*> withoutRepeats(const QList<QWidget*>& widgets);

// The tooltip of the history and hit grids, which a double click exports.
QString gridExportTip();

}  // namespace drawfollow
