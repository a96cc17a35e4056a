#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace quendal {

// A file with the given bytes in the temporary folder, removed when the test ends. The name
// carries the test's name and the process id, so tests running in parallel never share one.
class TempFile {
public:
    explicit TempFile(std::string_view bytes, std::string_view suffix = ".tmp") {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "quendal-";
        if (info)
            name += std::string(info->test_suite_name()) + "-" + info->name() + "-";
        name += std::to_string(::getpid()) + "-" + std::to_string(counter_++);
        for (char& c : name)
            if (c == '/')
                c = '_';
        path_ = (std::filesystem::temp_directory_path() / (name + std::string(suffix))).string();
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        EXPECT_NE(file, nullptr) << path_;
        if (file) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::string path_;
};

} // namespace quendal
