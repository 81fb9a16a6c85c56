#pragma once
// The player's own folder for the files it makes while it runs: the items
// extracted from the quiz and the copies handed to other programs. It is
// made fresh under the temporary folder with a name nobody can foresee and,
// where the system has such rights, readable and writable by its owner
// alone, so that no other user can read the copies, put a file of their own
// in their place or make the player write through a link. It is removed with
// everything in it when the player ends.
#include <filesystem>
#include <optional>

namespace kz::term {

class PrivateFolder {
public:
    // Nothing when no folder could be made under `parent`.
    static std::optional<PrivateFolder> create(const std::filesystem::path& parent);

    PrivateFolder(PrivateFolder&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    PrivateFolder& operator=(PrivateFolder&&) = delete;
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    ~PrivateFolder();

    const std::filesystem::path& path() const { return path_; }

private:
    explicit PrivateFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

}  // namespace kz::term
