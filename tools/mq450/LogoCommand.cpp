// The "logo" command group of the tool.
#include "Commands.h"
#include "ToolSupport.h"

namespace mq::tool {

int RunLogo(const Args&) { return Fail(kExitUsage, "the logo commands are not available in this build"); }

}  // namespace mq::tool
