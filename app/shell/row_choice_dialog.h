// A modal table of rows to choose one from (the safety copies to restore): OK takes the
// selected row, as does a double click on one; Cancel takes none.
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include <optional>

class QTableWidget;

namespace drawfollow {

class RowChoiceDialog final : public QDialog {
    Q_OBJECT

public:
    RowChoiceDialog(const QString& title, const QString& prompt, const QStringList& columns,
                    const QList<QStringList>& rows, QWidget* parent = nullptr);

    // The selected row; none when nothing is selected.
    std::optional<int> chosenRow() const;

private:
    QTableWidget* table_;
};

}  // namespace drawfollow
