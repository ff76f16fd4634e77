// The command groups of the mq450 tool. Each takes the arguments after its group name and returns the process
// exit status.
#pragma once

#include <string>
#include <vector>

namespace mq::tool {

using Args = std::vector<std::string>;

int RunSettings(const Args& args);           // settings default|convert|merge|show|set
int RunLogo(const Args& args);               // logo gray|mono|encode-mono|encode-gray|preview|job
int RunLogoJob(const Args& args);            // logo job mono|gray|clear (args[0] is "job")
int RunSend(const Args& args);               // send FILE --to DEST
int RunBarcode(const Args& args);            // barcode check|job|preview
int RunSimulate(const Args& args);           // simulate install|uninstall
int RunSimulateUninstall(const Args& args);  // simulate uninstall (args[0] is "uninstall")
int RunPrinter(const Args& args);            // printer --listen [ADDRESS:]PORT --out DIR
int RunRender(const Args& args);             // render JOB... -o OUT.png
int RunControlFont(const Args& args);        // control-font show|set
int RunPackage(const Args& args);            // package check
int RunWatermark(const Args& args);          // watermark image|preview

}  // namespace mq::tool
