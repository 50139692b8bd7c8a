#pragma once

#include <string>

namespace scorewell {

// File operations that keep a file safe across crashes and full disks. They throw
// std::system_error with the operating system's reason.

// Flushes a file's content to the disk.
void SyncFile(const std::string& path);
// Flushes a folder's entries (a rename inside it) to the disk.
void SyncFolder(const std::string& folder);
// Renames from over to in one step: to is either the old or the new file, never neither.
void ReplaceFile(const std::string& from, const std::string& to);
// Removes a file when it exists; true when it is gone afterwards.
bool RemoveFileIfExists(const std::string& path);
// True when this process may write the file and create files in its folder.
bool CanWriteFileAndFolder(const std::string& path);
// Gives to the permission bits of from (a replaced league keeps its owner's access rights).
void CopyPermissions(const std::string& from, const std::string& to);

} // namespace scorewell
