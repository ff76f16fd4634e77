// The names of the DLLs a Windows binary (PE32 or PE32+) imports, read from its import and delay-import
// tables. Every offset is checked against the file, so a damaged or hostile file gives an error, never a read
// past its end.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mq::tool {

// True when the bytes start like a Windows executable ("MZ" header naming a "PE\0\0" signature).
bool LooksLikePortableExecutable(std::span<const uint8_t> file);

// The imported DLL names in table order (import table first, then delay imports). false, with a reason in
// *error, when the file is not a well-formed PE image.
bool ReadImportedDlls(std::span<const uint8_t> file, std::vector<std::string>* dlls, std::string* error);

// True for the DLLs of the MinGW-w64 runtime (libgcc_s*, libstdc++*, libwinpthread*, ...), which a shipped
// binary must not need: Windows has none of them.
bool IsMinGwRuntimeDll(std::string_view dll);

}  // namespace mq::tool
