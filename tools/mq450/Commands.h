// The command groups of the mq450 tool. Each takes the arguments after its group name and returns the process
// exit status.
#pragma once

#include <string>
#include <vector>

namespace mq::tool {

using Args = std::vector<std::string>;

int RunSettings(const Args& args);  // settings default|convert|merge|show
int RunLogo(const Args& args);      // logo gray|mono|encode-mono|encode-gray|preview
int RunSimulate(const Args& args);  // simulate install

}  // namespace mq::tool
