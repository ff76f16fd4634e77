// The "simulate" command group of the tool.
#include "Commands.h"
#include "ToolSupport.h"

namespace mq::tool {

int RunSimulate(const Args&) { return Fail(kExitUsage, "the simulate commands are not available in this build"); }

}  // namespace mq::tool
