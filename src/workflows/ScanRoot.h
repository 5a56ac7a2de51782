// What Add disc and Update disc decide from the scan path before anything is
// scanned: what the scan takes for the path, whether the path can be recorded
// at all, and the disc name it proposes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"
#include "workflows/Workspace.h"

namespace movra {

// Why a scan root cannot be recorded.
enum class ScanRootFault {
  kBarOrBackslash,  // "|" or "\" in a name: a snapshot line or key cannot carry it
  kControl,         // a control character (a line feed would end the line)
  kNotGbk,          // a character GBK cannot hold: the key could not lead back to the folder
};

// The first part of a scan root that cannot be recorded.
struct ScanRootProblem {
  ScanRootFault fault;
  std::string part;  // the offending folder name, GBK, for the message
};

// Checks the scan path field's text (UTF-8): a native path ("/media/...") or
// a drive path ("E:\VIDEO"). Every folder name that the snapshot's keys would
// record (the part below the mount point of its drive; for Z: the whole
// path) must be recordable. nullopt when it is, or when the text is empty.
std::optional<ScanRootProblem> CheckScanRoot(const DriveMap& drives, std::string_view utf8_text);

// The message that tells the user about a problem (GBK).
std::string ScanRootMessage(const ScanRootProblem& problem);

// The drive path (GBK) a native path (UTF-8, "/media/...") is shown as;
// nullopt for any other text and for a path CheckScanRoot refuses.
std::optional<std::string> DriveFormOf(const DriveMap& drives, std::string_view utf8_text);

// What ScanDisc takes for a scan path as the user gave it (UTF-8): a native
// path as its drive path with a trailing backslash (a path that has none
// stays native), a drive path in GBK with a trailing backslash; empty stays empty.
std::string ScanSourceOf(const DriveMap& drives, std::string_view utf8_text);

// The scan path (UTF-8) of a source as ScanDisc takes it: a drive path is GBK, a native one stays.
std::string ScanTextOf(std::string_view source);

// Refuses (kRefused, with ScanRootMessage) a scan path (UTF-8) whose keys
// could not be recorded. An image file is read by its file and records keys
// of its own, so it passes.
WorkflowResult CheckScanPath(const DriveMap& drives, std::string_view utf8_text);

// The disc name proposed for a scan path (GBK drive path) whose volume has
// label (GBK, empty when none): a plain folder (on Z:) proposes its own
// name, a lettered volume its label; 我的光盘_000 when neither gives a name.
std::string ProposedDiscName(std::string_view scan_path, std::string_view label);

}  // namespace movra
