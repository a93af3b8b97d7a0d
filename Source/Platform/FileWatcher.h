#pragma once

#include <string>
#include <unordered_map>

// Tells when files under a folder change: written and closed, moved in or out, or deleted.
// Folders made later under it are watched as well. Hidden files (".name", editors' swap files)
// and backups ("name~") are not changes.
class FileWatcher {
  public:
    // Watches the folder and every folder under it; watching() is false when it cannot.
    explicit FileWatcher(const std::string& folder);
    ~FileWatcher();
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    bool watching() const { return fd_ >= 0 && !folders_.empty(); }
    // Takes what happened since the last call, without waiting; true when a file changed.
    bool changed();

  private:
    void watch_tree(const std::string& folder);
    static bool ignored(const char* name);

    int fd_ = -1;
    // Watched folders by watch descriptor.
    std::unordered_map<int, std::string> folders_;
};
