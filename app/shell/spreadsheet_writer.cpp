#include "app/shell/spreadsheet_writer.h"

#include "app/shell/work_runner.h"

#include <exception>
#include <utility>

namespace drawfollow {

QString SpreadsheetWriter::busyNote() {
    return QStringLiteral("上一个表格还在写入，请稍候再导出。");
}

bool SpreadsheetWriter::write(const QObject* owner, std::function<ShownCells()> read,
                              const std::filesystem::path& target, std::function<void(const QString& problem)> ended) {
    // Neither the reading of the cells nor the library's write looks at 取消.
    const WorkPlan plan{WorkLane::Spreadsheet, QStringLiteral("导出表格…"), false};
    return runner_.start<QString>(
        owner, plan,
        [read = std::move(read), target](JobControl&) -> QString {
            try {
                const ShownCells cells = read();
                // The window writes its workbooks into the data folder only.
                writeSpreadsheet(cells.grid, target, cells.colours, cells.bars, target.parent_path());
                return {};
            } catch (const std::exception& e) {
                return QString::fromUtf8(e.what());
            }
        },
        std::move(ended));
}

}  // namespace drawfollow
