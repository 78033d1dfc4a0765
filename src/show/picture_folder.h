// The files of a picture folder: the folder and the folders below it, walked level by level
// to a depth and a number of files, so that a huge tree costs a bounded walk. Files are not
// opened here; those that turn out not to be pictures are skipped when they are dealt.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct FolderEntry {
    std::string name;
    bool folder = false;
};

// What a folder holds (without "." and ".."), in any order; empty for a folder that cannot be
// read. The walk leaves out what a user does not see as a picture file (hidden and system
// files, links to other folders) by not listing them.
using FolderLister = std::function<std::vector<FolderEntry>(const std::string& folder)>;

// Levels of folders below the chosen one that are walked, and files taken at most.
inline constexpr int pictureFolderDepth = 4;
inline constexpr size_t pictureFolderFiles = 10000;

// The paths of the files in the folder and below it (folder, then '\', then names), the
// folder's own first and each folder's in name order, up to the depth and the count.
std::vector<std::string> filesOfPictureFolder(const std::string& folder, const FolderLister& list,
                                              int depth = pictureFolderDepth,
                                              size_t mostFiles = pictureFolderFiles);
