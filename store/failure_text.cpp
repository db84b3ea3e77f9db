#include "store/failure_text.h"

#include <sqlite3.h>

#include <cerrno>

namespace drawfollow {

namespace {

constexpr const char* kDiskFull = "磁盘已满，改动没有保存。请腾出磁盘空间后再试。";
constexpr const char* kDamaged =
    "历史数据库文件已损坏。请用“历史管理”菜单的“恢复备份”或 drawfollow-cli restore 恢复最新的安全备份。";
constexpr const char* kNoMemory = "内存不足，操作没有完成。请关闭其他程序后再试。";
constexpr const char* kProgramFault =
    "程序内部出错，操作没有完成，历史号码未作改动。请把下面括号里的原文报告给开发者。";

const char* sqliteSentence(int resultCode) {
    switch (resultCode) {
        case SQLITE_READONLY_DBMOVED:
            return "历史数据库文件在程序运行时被移走或删除了，改动没有保存。请重新启动程序。";
        case SQLITE_IOERR_NOMEM:
            return kNoMemory;
        default:
            break;
    }
    switch (resultCode & 0xff) {
        case SQLITE_FULL:
            return kDiskFull;
        case SQLITE_READONLY:
            return "历史数据库文件或它所在的文件夹不能写入，改动没有保存。请让数据文件夹和其中的文件可以写入，"
                   "或用 --data-dir 指定一个可以写入的文件夹。";
        case SQLITE_CANTOPEN:
            return "无法打开或建立历史数据库文件或它的日志文件。请确认数据文件夹存在并且可以写入。";
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "没有访问历史数据库文件的权限。请检查数据文件夹和其中文件的权限。";
        case SQLITE_IOERR:
            return "读写历史数据库文件时磁盘出错，改动没有保存。请检查磁盘和剩余空间后再试；"
                   "若一再出错，请恢复最新的安全备份。";
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return kDamaged;
        case SQLITE_NOMEM:
            return kNoMemory;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "历史数据库正被另一个程序使用，请稍后再试。";
        case SQLITE_PROTOCOL:
            return "另一个程序对历史数据库文件加锁时出错。请稍后再试；若一再出错，请把数据文件夹放在本机的磁盘上。";
        case SQLITE_NOLFS:
        case SQLITE_TOOBIG:
            return "文件或其中的一项数据超出了能存的大小，改动没有保存。请把数据文件夹放在支持大文件的磁盘上。";
        case SQLITE_INTERRUPT:
            return "操作已取消，历史号码未作改动。";
        case SQLITE_SCHEMA:
            return "历史数据库的结构在读取时被另一个程序改变了。请再试一次。";
        default:
            return kProgramFault;
    }
}

const char* systemSentence(int errorNumber) {
    switch (errorNumber) {
        case ENOSPC:
        case EDQUOT:
            return "磁盘已满，文件没有写完。请腾出磁盘空间后再试。";
        case EACCES:
        case EPERM:
            return "没有权限写入或读取这个文件或文件夹。请检查它的权限，或选择另一个文件夹。";
        case EROFS:
            return "这个文件夹所在的磁盘只能读不能写。请选择一个可以写入的文件夹。";
        case ENOENT:
        case ENOTDIR:
            return "文件或文件夹不存在。请检查路径。";
        case EISDIR:
            return "这个名字被一个文件夹占用了。请换一个文件名。";
        case EIO:
            return "读写磁盘时出错。请检查磁盘后再试。";
        case ELOOP:
            return "符号链接的层数太多，或链接绕回了自己。请检查这个路径。";
        case ENOMEM:
            return kNoMemory;
        default:
            return "系统拒绝了这个操作。";
    }
}

}  // namespace

std::string sqliteFailureText(int resultCode, std::string_view original) {
    return std::string(sqliteSentence(resultCode)) + "（SQLite：" + std::string(original) + "）";
}

std::string systemFailureText(const std::error_code& code, std::string_view original) {
    return std::string(systemSentence(code.value())) + "（" + std::string(original) + "）";
}

}  // namespace drawfollow
