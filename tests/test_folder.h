#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

// A fresh folder for one test, removed afterwards.
class TestFolder {
  public:
    TestFolder() {
        std::random_device seed;
        root_ = std::filesystem::temp_directory_path() /
                ("sales-forecast-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(root_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    std::filesystem::path Path(const std::string& name) const { return root_ / name; }
    const std::filesystem::path& Root() const { return root_; }

    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    void Write(const std::string& name, const std::string& content) const {
        std::ofstream(Path(name), std::ios::binary) << content;
    }

  private:
    std::filesystem::path root_;
};
