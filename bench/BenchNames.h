// Names for generated snapshots: words as found on discs, Latin and Chinese
// (GBK), and file extensions, shared by the benchmarks that make catalogues.
#pragma once

#include <string>
#include <vector>

#include "platform/TextCodec.h"

namespace movra::bench {

// Words as found in names on discs, Latin and Chinese (GBK).
inline std::vector<std::string> Words() {
  std::vector<std::string> words = {"Music", "Video",   "Photos",  "Backup", "Live",    "Concert", "Disc",
                                    "Track", "Episode", "Season",  "Setup",  "Drivers", "Movie",   "Album",
                                    "Holiday", "Project", "Report", "Data",  "Archive", "VTS",     "IMG"};
  for (const char* utf8 : {"音乐", "电影", "照片", "备份", "演唱会", "七里香", "纪录片", "第一集", "软件", "驱动",
                           "文档", "项目", "报告", "假期", "风景", "相册", "资料", "游戏", "教程", "晴天"})
    words.push_back(Utf8ToGbk(utf8));
  return words;
}

inline const char* const kExtensions[] = {".mp3", ".MP3", ".avi", ".mkv", ".jpg", ".JPG", ".png", ".txt", ".doc",
                                   ".pdf", ".exe", ".dll", ".rmvb", ".wma", ".flac", ".zip", ".VOB", ".IFO"};

}  // namespace movra::bench
