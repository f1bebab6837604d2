#include "log/io_error.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "log/error_codes.h"

namespace tandrel::log {
namespace {

TEST(IoError, MessageIsChosenByCode) {
    const std::pair<int, const char*> table[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {32, "I/O error 32"},
        {112, "I/O error 112"},
        {0, "I/O error 0"},
        {-7, "I/O error -7"},
    };
    for (const auto& [code, message] : table) {
        EXPECT_EQ(IoErrorMessage(code), message) << code;
        const IoError error(code);
        EXPECT_EQ(error.Code(), code);
        EXPECT_STREQ(error.what(), message);
    }
}

TEST(Win32CodeForErrno, MapsEachPosixError) {
    struct Row {
        int errnoValue;
        int whenOpening;
        int whenCreating;
    };
    const Row table[] = {
        {ENOENT, 2, 3},       {ENOTDIR, 3, 3},     {EMFILE, 4, 4},           {ENFILE, 4, 4},
        {EACCES, 5, 5},       {EPERM, 5, 5},       {EISDIR, 5, 5},           {EROFS, 5, 5},
        {ENOMEM, 8, 8},       {EBUSY, 32, 32},     {ETXTBSY, 32, 32},        {EEXIST, 80, 80},
        {EINVAL, 87, 87},     {ENOSPC, 112, 112},  {ENAMETOOLONG, 206, 206}, {EFBIG, 223, 223},
        {EIO, 1117, 1117},    {ELOOP, 1921, 1921}, {EXDEV, 31, 31},          {0, 31, 31},
#ifdef EDQUOT
        {EDQUOT, 1295, 1295},
#endif
    };
    for (const Row& row : table) {
        EXPECT_EQ(Win32CodeForErrno(row.errnoValue, PathUse::kOpenExisting), row.whenOpening)
            << row.errnoValue;
        EXPECT_EQ(Win32CodeForErrno(row.errnoValue, PathUse::kCreate), row.whenCreating)
            << row.errnoValue;
    }
}

}  // namespace
}  // namespace tandrel::log
