// Looking at the history file past the window, over connections of the test's own.
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>

#include <QStringList>

#include <filesystem>

namespace drawfollow::test {

// Every field of every row of Lishi and Carcu, as text: "the file as it was".
QStringList tablesAsText(const std::filesystem::path& file);

// Another program in the middle of a change: whatever the window writes waits for it, for
// as long as a test needs, without any timing.
class HeldWriteLock {
public:
    explicit HeldWriteLock(const std::filesystem::path& file);
    void release();
    // Ends the change by committing `sql`, as the other program would.
    void commit(const char* sql);

private:
    SQLite::Database db_;
};

}  // namespace drawfollow::test
