#include "show/picture_folder.h"

#include <algorithm>

std::vector<std::string> filesOfPictureFolder(const std::string& folder, const FolderLister& list,
                                              int depth, size_t mostFiles) {
    std::vector<std::string> files;
    std::vector<std::string> level{folder};
    for (int below = 0; below <= depth && !level.empty(); ++below) {
        std::vector<std::string> nextLevel;
        for (const std::string& at : level) {
            std::vector<FolderEntry> entries = list(at);
            std::sort(entries.begin(), entries.end(),
                      [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
            const std::string prefix = at.empty() || at.back() == '\\' ? at : at + '\\';
            for (const FolderEntry& entry : entries) {
                std::string path = prefix + entry.name;
                if (entry.folder) {
                    nextLevel.push_back(std::move(path));
                } else if (files.size() < mostFiles) {
                    files.push_back(std::move(path));
                } else {
                    return files;
                }
            }
        }
        level = std::move(nextLevel);
    }
    return files;
}
