// The INI corpus shared by the native and the Windows test programs: the queries, their recorded answers, and
// a runner that asks a Profile implementation every query.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Profile.h"

namespace mq::platform::testing {

struct ProfileQuery {
  std::string file, section, key, defaultValue;
  uint32_t capacity = 0;
  std::string Describe() const {
    return file + " [" + section + "] " + key + " default=" + defaultValue +
           " capacity=" + std::to_string(capacity);
  }
};

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline std::vector<ProfileQuery> LoadQueries(const std::string& corpusDir) {
  std::vector<ProfileQuery> queries;
  for (const std::string& line : ReadLines(corpusDir + "/queries.txt")) {
    std::vector<std::string> parts;
    std::stringstream stream(line);
    for (std::string part; std::getline(stream, part, '|');) parts.push_back(part);
    while (parts.size() < 5) parts.emplace_back();
    queries.push_back({parts[0], parts[1], parts[2], parts[3], static_cast<uint32_t>(std::stoul(parts[4]))});
  }
  return queries;
}

// Answers are stored one per line with C-style escapes for control characters and backslashes.
inline std::string Escape(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == 0x7F) {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// folder is prefixed to each file name with a backslash ("C:\ini", "Z:\work\...\ini").
inline std::vector<std::string> AskAll(Profile& profile, const std::string& folder,
                                       const std::vector<ProfileQuery>& queries) {
  std::vector<std::string> answers;
  for (const ProfileQuery& q : queries) {
    answers.push_back(
        Escape(profile.GetString(folder + "\\" + q.file, q.section, q.key, q.defaultValue, q.capacity)));
  }
  return answers;
}

}  // namespace mq::platform::testing
