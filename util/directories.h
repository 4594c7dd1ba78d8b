#pragma once
// Directories: existence, making and removing trees, and listings whose
// entries carry the name, size, times, attributes and short name.
#include <windows.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "app/boxes.h"
#include "util/date_time.h"

// True when the directory can be made the current folder. The current
// folder is put back on every way out.
bool DirExist(const std::string& directory);
// Creates every missing level of "X:\level\level..."; a level that cannot
// be created shows an error box and the result is false. With `retry` the
// box offers Retry and Cancel: Retry tries the same level again, Cancel
// gives false.
bool VODirMake(BoxOwner owner, const std::string& path, bool retry);
// True when the directory exists, otherwise VODirMake.
bool DirMake_NoExist(BoxOwner owner, const std::string& path, bool retry);
// Deletes the directory's files, then the directory; a directory that holds
// a subfolder cannot be removed. True when the directory was not there.
bool VODirRemove(BoxOwner owner, const std::string& directory);

// One value of a directory entry, as VODirList hands them out.
using DirValue = std::variant<std::string, std::uint64_t, Date, std::uint32_t>;

// One entry of a listing; its 11 values are numbered 1 to 11 in this order.
struct DirEntry {
  std::string name;            // 1 long name
  std::uint64_t size = 0;      // 2 bytes
  Date writeDate;              // 3 last write, local
  std::string writeTime;       // 4 "hh:mm:ss"
  std::string attributes;      // 5 letters, see VODirAttribute2String
  Date accessDate;             // 6
  std::string accessTime;      // 7
  Date creationDate;           // 8
  std::string creationTime;    // 9
  std::string shortName;       // 10 8.3 name, the long name when there is none
  std::uint32_t bits = 0;      // 11 Win32 attribute bits

  // Value number `column` (1 to 11); an empty text for any other number.
  DirValue Value(unsigned column) const;
};

// The entries matching the mask (wildcards allowed) whose attributes
// VODirIsValidFileAttrib admits for `wanted`, in the system's order.
std::vector<DirEntry> VODir(const std::string& mask, std::uint32_t wanted);
DirEntry VODirFindDataConvert(const WIN32_FIND_DATAA& data);
// "C" 0x800, "O" 0x400, "T" 0x100, "A" 0x20, "D" 0x10, "S" 0x04, "H" 0x02,
// "R" 0x01, in this order, one letter per set bit.
std::string VODirAttribute2String(std::uint32_t bits);
// False when the entry has one of directory, system, hidden, compressed,
// 0x400 or temporary that `wanted` lacks; read-only and archive never
// exclude. Wanted 0x80 (normal) so admits plain files only.
bool VODirIsValidFileAttrib(std::uint32_t wanted, std::uint32_t entryBits);
// Value `column` of every plain-file entry (VODir with 0x80).
std::vector<DirValue> VODirList(const std::string& mask, std::uint16_t column);
