// Texts and small helpers shared by the widgets: position names, control-array object
// names, grid widths given in twips and the grids' export tooltip.
#pragma once

#include <QString>

class QWidget;

namespace drawfollow {

// Position p (1..8) in grids and messages: "平3码", "特码".
QString positionName(int position);
// Caption of a position switch: "平3位", "特位".
QString switchCaption(int position);
// Object name of a control-array member: "Check1_11", "Option3_4".
QString arrayName(const char* control, int index);

// A width given in twips (1/1440 inch) in the widget's pixels.
int twipsToPixels(int twips, const QWidget* widget);

// The tooltip of the history and hit grids, which a double click exports.
QString gridExportTip();

}  // namespace drawfollow
