// Texts and small helpers shared by the widgets: position names, control-array object
// names, grid widths given in twips, and the mark of a feature that is not built yet.
#pragma once

#include <QString>

class QAction;
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

// The tooltip of the history and hit grids; the export it promises is not built yet.
QString gridExportTip();

// Disables a control whose feature is not built yet and says so in its tooltip, after
// the tooltip it will have.
void markNotYetAvailable(QWidget* widget);
void markNotYetAvailable(QAction* action);
inline const char* const kNotYetAvailable = "此功能尚未提供";

}  // namespace drawfollow
