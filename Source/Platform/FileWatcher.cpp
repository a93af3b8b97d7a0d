#include "Platform/FileWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
constexpr uint32_t file_events = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE;
constexpr uint32_t folder_events = file_events | IN_CREATE | IN_DELETE_SELF | IN_MOVE_SELF;
}  // namespace

FileWatcher::FileWatcher(const std::string& folder) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0)
        watch_tree(folder);
}

FileWatcher::~FileWatcher() {
    if (fd_ >= 0)
        close(fd_);
}

void FileWatcher::watch_tree(const std::string& folder) {
    const int wd = inotify_add_watch(fd_, folder.c_str(), folder_events | IN_ONLYDIR);
    if (wd < 0)
        return;
    folders_[wd] = folder;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec) && !ignored(it->path().filename().c_str()))
            watch_tree(it->path().string());
}

bool FileWatcher::ignored(const char* name) {
    const size_t n = std::strlen(name);
    return n == 0 || name[0] == '.' || name[n - 1] == '~';
}

bool FileWatcher::changed() {
    if (fd_ < 0)
        return false;
    bool any = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const char* name = event->len > 0 ? event->name : "";
            if (event->mask & IN_Q_OVERFLOW) {
                any = true;  // events were lost: take it as a change
            } else if (event->mask & IN_IGNORED) {
                folders_.erase(event->wd);
            } else if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                any = true;
            } else if (event->mask & IN_ISDIR) {
                // A folder made or moved in may already hold files.
                auto it = folders_.find(event->wd);
                if (it != folders_.end() && !ignored(name) &&
                    (event->mask & (IN_CREATE | IN_MOVED_TO)))
                    watch_tree(it->second + "/" + name);
                if (!ignored(name) && (event->mask & (IN_CREATE | file_events)))
                    any = true;
            } else if ((event->mask & file_events) && !ignored(name)) {
                any = true;
            }
        }
    }
    return any;
}
