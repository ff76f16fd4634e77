// The "settings" command group of the tool.
#include "Commands.h"
#include "ToolSupport.h"

namespace mq::tool {

int RunSettings(const Args&) { return Fail(kExitUsage, "the settings commands are not available in this build"); }

}  // namespace mq::tool
