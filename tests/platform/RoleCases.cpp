// The rows of the role table and the scratch places they run in. Outputs are preset to sentinels (buffers of
// 0xAB, handles and numbers of 0xDEAD) so that a row sees whether a call wrote them; a line shows a sentinel
// that survived as "untouched".
#include "RoleCases.h"

#include <algorithm>
#include <cstdio>

#include "platform/RegistryText.h"
#include "platform/Text.h"

namespace mq::platform::testing {
namespace {

constexpr uint8_t kSentinelByte = 0xAB;
constexpr uint32_t kSentinel = 0xDEAD;

std::string Num(uint32_t value) {
  return value == kSentinel ? "untouched" : std::to_string(value);
}

// The buffer in hex, ".." for each byte still holding the sentinel; "untouched" when all do.
std::string Buffer(const std::vector<uint8_t>& bytes) {
  if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == kSentinelByte; }))
    return "untouched";
  std::string out;
  for (uint8_t b : bytes) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", b);
    out += b == kSentinelByte ? ".." : hex;
  }
  return out;
}

std::string Join(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ",") + name;
  return out.empty() ? "none" : out;
}

// ---- Registry ----

// One RegQueryValueExW with a sentinel buffer of capacity bytes (no buffer when capacity is 0).
std::string Probe(Registry& registry, RegKey key, const char* name, uint32_t capacity, uint32_t bufferSize) {
  std::vector<uint8_t> data(capacity, kSentinelByte);
  uint32_t type = kSentinel;
  uint32_t size = bufferSize;
  uint32_t rc = registry.QueryValue(key, name, &type, capacity == 0 ? nullptr : data.data(), &size);
  std::string out = std::to_string(rc) + " size=" + Num(size) + " type=" + Num(type);
  if (capacity != 0) out += " data=" + Buffer(data);
  return out;
}

std::string ProbeAround(Registry& registry, RegKey key, const char* name, uint32_t size) {
  return "null: " + Probe(registry, key, name, 0, 0) +
         " | size-1: " + Probe(registry, key, name, size + 1, size - 1) +
         " | size: " + Probe(registry, key, name, size + 1, size) +
         " | size+1: " + Probe(registry, key, name, size + 1, size + 1);
}

std::string RegistryProbesAString(RoleScratch& s) {
  WriteRegString(s.registry, s.key, "Name", "abcd");  // 10 bytes with the terminating zero
  return ProbeAround(s.registry, s.key, "Name", 10);
}

std::string RegistryProbesBinary(RoleScratch& s) {
  const uint8_t bytes[] = {1, 2, 3, 4, 5};
  s.registry.SetValue(s.key, "Blob", kRegBinary, bytes, sizeof bytes);
  return ProbeAround(s.registry, s.key, "Blob", 5);
}

std::string RegistryMissingValue(RoleScratch& s) {
  return Probe(s.registry, s.key, "Missing", 4, 4);
}

std::string RegistryDataWithoutSize(RoleScratch& s) {
  WriteRegString(s.registry, s.key, "Name", "abcd");
  std::vector<uint8_t> data(16, kSentinelByte);
  uint32_t type = kSentinel;
  uint32_t rc = s.registry.QueryValue(s.key, "Name", &type, data.data(), nullptr);
  return std::to_string(rc) + " type=" + Num(type) + " data=" + Buffer(data);
}

std::string RegistryNamesAreCaseBlind(RoleScratch& s) {
  WriteRegString(s.registry, s.key, "MixedCase", "first");
  WriteRegString(s.registry, s.key, "MIXEDCASE", "second");  // the same value: its first spelling stays
  std::string value;
  uint32_t read = ReadRegString(s.registry, s.key, "mixedcase", &value);
  std::string name = "untouched";
  s.registry.EnumValue(s.key, 0, &name);
  RegKey sub = kSentinel;
  bool created = false;
  uint32_t create = s.registry.CreateKey(s.key, "Sub\\Leaf", kKeyAllAccess, &sub, &created);
  if (create == 0) s.registry.CloseKey(sub);
  uint32_t createAgain = s.registry.CreateKey(s.key, "SUB\\leaf", kKeyAllAccess, &sub, &created);
  if (createAgain == 0) s.registry.CloseKey(sub);
  RegKey opened = kSentinel;
  uint32_t open = s.registry.OpenKey(s.key, "sub\\LEAF", kKeyRead, &opened);
  if (open == 0) s.registry.CloseKey(opened);
  uint32_t remove = s.registry.DeleteValue(s.key, "mixedCASE");
  return "read=" + std::to_string(read) + " " + value + " enum=" + name +
         " create=" + std::to_string(create) + " again=" + std::to_string(createAgain) +
         (created ? " created" : " existed") + " open=" + std::to_string(open) +
         " delete=" + std::to_string(remove);
}

std::string RegistryMissingKeys(RoleScratch& s) {
  RegKey opened = kSentinel;
  uint32_t open = s.registry.OpenKey(s.key, "Missing", kKeyRead, &opened);
  uint32_t deleteKey = s.registry.DeleteKey(s.key, "Missing");
  uint32_t deleteValue = s.registry.DeleteValue(s.key, "Missing");
  return "open=" + std::to_string(open) + " key=" + Num(static_cast<uint32_t>(opened)) +
         " deleteKey=" + std::to_string(deleteKey) + " deleteValue=" + std::to_string(deleteValue);
}

std::string RegistryDeleteKeyWithSubkeys(RoleScratch& s) {
  RegKey sub = 0;
  s.registry.CreateKey(s.key, "Parent\\Child", kKeyAllAccess, &sub, nullptr);
  s.registry.CloseKey(sub);
  uint32_t parent = s.registry.DeleteKey(s.key, "Parent");
  uint32_t child = s.registry.DeleteKey(s.key, "Parent\\Child");
  uint32_t parentAgain = s.registry.DeleteKey(s.key, "Parent");
  return "parent=" + std::to_string(parent) + " child=" + std::to_string(child) +
         " parentAgain=" + std::to_string(parentAgain);
}

std::string RegistryEnumerationOrder(RoleScratch& s) {
  for (const char* name : {"b", "C", "a"}) {
    RegKey sub = 0;
    s.registry.CreateKey(s.key, name, kKeyAllAccess, &sub, nullptr);
    s.registry.CloseKey(sub);
    WriteRegString(s.registry, s.key, name, "x");
  }
  auto list = [&](bool keys) {
    std::vector<std::string> names;
    uint32_t rc = 0;
    for (uint32_t i = 0; i < 10; ++i) {
      std::string name = "untouched";
      rc = keys ? s.registry.EnumKey(s.key, i, &name) : s.registry.EnumValue(s.key, i, &name);
      if (rc != 0) {
        names.push_back(std::to_string(rc) + ":" + name);
        break;
      }
      names.push_back(name);
    }
    return Join(names);
  };
  return "keys=" + list(true) + " values=" + list(false);
}

std::string RegistryDefaultValue(RoleScratch& s) {
  std::string before = Probe(s.registry, s.key, "", 0, 0);
  WriteRegString(s.registry, s.key, "", "d");
  std::string value;
  uint32_t read = ReadRegString(s.registry, s.key, "", &value);
  return "before: " + before + " | after=" + std::to_string(read) + " " + value;
}

// ---- File system ----

std::vector<uint8_t> Text(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Attributes(FileSystem& files, const std::string& path) {
  uint32_t attributes = kSentinel;
  uint32_t rc = files.GetAttributes(path, &attributes);
  if (rc != 0) return std::to_string(rc) + "/" + Num(attributes);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%X", attributes);
  return hex;
}

std::string Contents(FileSystem& files, const std::string& path) {
  std::vector<uint8_t> bytes = {kSentinelByte};
  uint32_t rc = files.ReadAll(path, &bytes);
  if (rc != 0) return std::to_string(rc) + "/" + Buffer(bytes);
  return std::string(bytes.begin(), bytes.end());
}

std::string FilesMissingPaths(RoleScratch& s) {
  const std::string file = s.folder + "\\missing.txt";
  const std::string deep = s.folder + "\\nofolder\\missing.txt";
  return "attributes=" + Attributes(s.files, file) + " deep=" + Attributes(s.files, deep) +
         " read=" + Contents(s.files, file) + " deep=" + Contents(s.files, deep) +
         " setAttributes=" + std::to_string(s.files.SetAttributes(file, kFileAttributeNormal)) +
         " deep=" + std::to_string(s.files.SetAttributes(deep, kFileAttributeNormal)) +
         " delete=" + std::to_string(s.files.Delete(file)) + " deep=" + std::to_string(s.files.Delete(deep)) +
         " write=" + std::to_string(s.files.WriteAll(deep, Text("x")));
}

std::string FilesNamesAreCaseBlind(RoleScratch& s) {
  s.files.WriteAll(s.folder + "\\Mixed.TXT", Text("one"));
  s.files.WriteAll(s.folder + "\\MIXED.txt", Text("two"));  // the same file: its first spelling stays
  std::vector<FileFindData> found;
  s.files.FindFiles(s.folder + "\\*", &found);
  std::vector<std::string> names;
  for (const FileFindData& f : found) names.push_back(f.name);
  return "read=" + Contents(s.files, s.folder + "\\mixed.txt") +
         " attributes=" + Attributes(s.files, s.folder + "\\MiXeD.tXt") + " listed=" + Join(names) +
         " slash=" + Contents(s.files, s.folder + "/mixed.txt");
}

std::string FilesFolders(RoleScratch& s) {
  const std::string sub = s.folder + "\\Sub";
  s.files.WriteAll(s.folder + "\\file", Text("x"));
  uint32_t create = s.files.CreateFolder(sub);
  uint32_t again = s.files.CreateFolder(s.folder + "\\SUB");
  uint32_t overFile = s.files.CreateFolder(s.folder + "\\file");
  uint32_t noParent = s.files.CreateFolder(s.folder + "\\no\\sub");
  s.files.WriteAll(sub + "\\inner", Text("x"));
  uint32_t notEmpty = s.files.RemoveFolder(sub);
  uint32_t onFile = s.files.RemoveFolder(s.folder + "\\file");
  uint32_t missing = s.files.RemoveFolder(s.folder + "\\none");
  uint32_t deleteFolder = s.files.Delete(sub);
  std::vector<uint8_t> bytes;
  uint32_t readFolder = s.files.ReadAll(sub, &bytes);
  uint32_t writeFolder = s.files.WriteAll(sub, Text("x"));
  return "create=" + std::to_string(create) + " again=" + std::to_string(again) +
         " overFile=" + std::to_string(overFile) + " noParent=" + std::to_string(noParent) +
         " removeNotEmpty=" + std::to_string(notEmpty) + " removeFile=" + std::to_string(onFile) +
         " removeMissing=" + std::to_string(missing) + " deleteFolder=" + std::to_string(deleteFolder) +
         " readFolder=" + std::to_string(readFolder) + " writeFolder=" + std::to_string(writeFolder) +
         " attributes=" + Attributes(s.files, sub);
}

std::string FilesReadOnly(RoleScratch& s) {
  const std::string locked = s.folder + "\\locked";
  s.files.WriteAll(locked, Text("kept"));
  s.files.WriteAll(s.folder + "\\other", Text("new"));
  s.files.SetAttributes(locked, kFileAttributeReadonly);
  std::string attributes = Attributes(s.files, locked);
  uint32_t copy = s.files.Copy(locked, s.folder + "\\copy", false);
  std::string copied = Attributes(s.files, s.folder + "\\copy");
  uint32_t remove = s.files.Delete(locked);
  uint32_t write = s.files.WriteAll(locked, Text("lost"));
  uint32_t copyOver = s.files.Copy(s.folder + "\\other", locked, false);
  uint32_t moveOver = s.files.Move(s.folder + "\\other", locked, kMoveFileReplaceExisting);
  std::string kept = Contents(s.files, locked);
  s.files.SetAttributes(locked, kFileAttributeNormal);
  std::string cleared = Attributes(s.files, locked);
  return "attributes=" + attributes + " copy=" + std::to_string(copy) + " copyAttributes=" + copied +
         " delete=" + std::to_string(remove) + " write=" + std::to_string(write) +
         " copyOver=" + std::to_string(copyOver) + " moveOver=" + std::to_string(moveOver) + " kept=" + kept +
         " cleared=" + cleared;
}

std::string FilesCopyAndMove(RoleScratch& s) {
  const std::string a = s.folder + "\\a.txt";
  const std::string b = s.folder + "\\b.txt";
  s.files.WriteAll(a, Text("A"));
  s.files.WriteAll(b, Text("B"));
  uint32_t copyKeep = s.files.Copy(a, b, true);
  std::string afterKeep = Contents(s.files, b);
  uint32_t copyMissing = s.files.Copy(s.folder + "\\none", b, false);
  uint32_t copyFolder =
      s.files.CreateFolder(s.folder + "\\dir") == 0 ? s.files.Copy(s.folder + "\\dir", b, false) : kSentinel;
  uint32_t copyNoFolder = s.files.Copy(a, s.folder + "\\no\\b.txt", false);
  uint32_t moveKeep = s.files.Move(a, b, 0);
  uint32_t moveMissing = s.files.Move(s.folder + "\\none", b, 0);
  uint32_t moveNoFolder = s.files.Move(a, s.folder + "\\no\\b.txt", 0);
  uint32_t moveCase = s.files.Move(a, s.folder + "\\A.TXT", 0);
  std::vector<FileFindData> found;
  s.files.FindFiles(s.folder + "\\a.txt", &found);
  std::string renamed = found.empty() ? "none" : found[0].name;
  uint32_t moveReplace = s.files.Move(s.folder + "\\A.TXT", b, kMoveFileReplaceExisting);
  return "copyFailIfExists=" + std::to_string(copyKeep) + " kept=" + afterKeep +
         " copyMissing=" + std::to_string(copyMissing) + " copyFolder=" + Num(copyFolder) +
         " copyNoFolder=" + std::to_string(copyNoFolder) + " move=" + std::to_string(moveKeep) +
         " moveMissing=" + std::to_string(moveMissing) + " moveNoFolder=" + std::to_string(moveNoFolder) +
         " moveCase=" + std::to_string(moveCase) + " renamed=" + renamed +
         " moveReplace=" + std::to_string(moveReplace) + " b=" + Contents(s.files, b) +
         " a=" + Attributes(s.files, a);
}

std::string FilesFind(RoleScratch& s) {
  s.files.CreateFolder(s.folder + "\\empty");
  for (const char* name : {"b.INF", "c.txt", "a.inf", "ab.inf"})
    s.files.WriteAll(s.folder + "\\" + name, Text("12"));
  auto find = [&](const std::string& pattern) {
    std::vector<FileFindData> found = {FileFindData{"untouched", 0, 2}};
    uint32_t rc = s.files.FindFiles(pattern, &found);
    std::vector<std::string> names;
    for (const FileFindData& f : found)
      names.push_back(f.name + (f.size == 2 ? "" : "/" + std::to_string(f.size)));
    return std::to_string(rc) + ":" + Join(names);
  };
  return "inf=" + find(s.folder + "\\*.inf") + " one=" + find(s.folder + "\\?.inf") +
         " none=" + find(s.folder + "\\*.dll") + " empty=" + find(s.folder + "\\empty\\*") +
         " noFolder=" + find(s.folder + "\\no\\*");
}

std::string FilesNewFileAttributes(RoleScratch& s) {
  s.files.WriteAll(s.folder + "\\new", Text("x"));
  s.files.CreateFolder(s.folder + "\\dir");
  return "file=" + Attributes(s.files, s.folder + "\\new") +
         " folder=" + Attributes(s.files, s.folder + "\\dir");
}

// ---- Spooler ----

constexpr const char* kDriver = "MQ Role Test Driver";
constexpr const char* kPrinter = "MQ Role Test Printer";
constexpr const char* kDriverFiles[] = {"MQROLE.DLL", "MQROLE.GPD", "MQROLEUI.DLL"};

std::string Tail(const std::string& folder) {
  std::string folded = text::FoldCase(folder);
  size_t at = folded.find("\\spool\\");
  return at == std::string::npos ? folder : folded.substr(at + 1);
}

// The driver's files are put in the driver folder first, where the spooler looks for bare file names.
uint32_t AddTestDriver(RoleScratch& s) {
  std::string folder;
  s.spooler.GetPrinterDriverDirectory("", &folder);
  for (const char* file : kDriverFiles) s.files.WriteAll(folder + "\\" + file, Text("MZ"));
  DriverInfo3 driver;
  driver.name = kDriver;
  driver.driverPath = kDriverFiles[0];
  driver.dataFile = kDriverFiles[1];
  driver.configFile = kDriverFiles[2];
  return s.spooler.AddPrinterDriver(driver);
}

void RemoveTestDriver(RoleScratch& s) {
  s.spooler.DeletePrinterDriver("", kDriver);
  std::string folder;
  s.spooler.GetPrinterDriverDirectory("", &folder);
  for (const char* file : kDriverFiles) {
    s.files.Delete(folder + "\\" + file);
    s.files.Delete(folder + "\\3\\" + file);
  }
}

uint32_t AddTestPrinter(RoleScratch& s, std::string_view driver = kDriver,
                        std::string_view processor = "winprint") {
  PrinterInfo2 printer;
  printer.printerName = kPrinter;
  printer.portName = "LPT1:";
  printer.driverName = driver;
  printer.printProcessor = processor;
  printer.dataType = "RAW";
  return s.spooler.AddPrinter(printer);
}

// Every printer of the test name, however many a spooler let in.
void RemoveTestPrinters(RoleScratch& s) {
  for (int i = 0; i < 4; ++i) {
    PrinterHandle handle = 0;
    if (s.spooler.OpenPrinter(kPrinter, kPrinterAllAccess, &handle) != 0) return;
    s.spooler.DeletePrinter(handle);
    s.spooler.ClosePrinter(handle);
  }
}

std::string SpoolerEnumPortsProbes(RoleScratch& s) {
  uint32_t needed = kSentinel;
  std::vector<std::string> ports = {"untouched"};
  uint32_t rc = s.spooler.EnumPorts(0, &needed, &ports);
  std::string out = "0: " + std::to_string(rc) +
                    (needed != kSentinel && needed > 0 ? " needed" : " no size") + " ports=" + Join(ports);
  const uint32_t size = needed;
  for (uint32_t probe : {size - 1, size, size + 1}) {
    uint32_t again = kSentinel;
    std::vector<std::string> listed = {"untouched"};
    rc = s.spooler.EnumPorts(probe, &again, &listed);
    bool lpt1 = std::any_of(listed.begin(), listed.end(), [](const std::string& p) { return p == "LPT1:"; });
    out += std::string(" | ") +
           (probe < size    ? "size-1: "
            : probe == size ? "size: "
                            : "size+1: ") +
           std::to_string(rc) + (again == size ? " same size" : " other size") +
           (listed == std::vector<std::string>{"untouched"} ? " ports=untouched"
            : lpt1                                          ? " ports=LPT1:,..."
                                                            : " ports=?");
  }
  return out;
}

std::string SpoolerFolders(RoleScratch& s) {
  std::string out;
  for (const char* environment : {"", "Windows x64", "windows nt x86", "Windows 4.0", "Windows 11"}) {
    std::string drivers = "untouched";
    std::string processors = "untouched";
    uint32_t d = s.spooler.GetPrinterDriverDirectory(environment, &drivers);
    uint32_t p = s.spooler.GetPrintProcessorDirectory(environment, &processors);
    out += std::string(out.empty() ? "" : " | ") + "'" + environment + "': " + std::to_string(d) + " " +
           Tail(drivers) + ", " + std::to_string(p) + " " + Tail(processors);
  }
  return out;
}

std::string SpoolerUnknownNames(RoleScratch& s) {
  PrinterHandle handle = kSentinel;
  uint32_t open = s.spooler.OpenPrinter("MQ Role Test Nowhere", kPrinterAllAccess, &handle);
  uint32_t setDefault = s.spooler.SetDefaultPrinter("MQ Role Test Nowhere");
  uint32_t deleteDriver = s.spooler.DeletePrinterDriver("", "MQ Role Test Nowhere");
  uint32_t deleteMonitor = s.spooler.DeleteMonitor("", "MQ Role Test Nowhere");
  uint32_t deleteProcessor = s.spooler.DeletePrintProcessor("", "MQ Role Test Nowhere");
  uint32_t noDriver = AddTestPrinter(s, "MQ Role Test Nowhere");
  RemoveTestPrinters(s);
  return "open=" + std::to_string(open) + " handle=" + Num(static_cast<uint32_t>(handle)) +
         " setDefault=" + std::to_string(setDefault) + " deleteDriver=" + std::to_string(deleteDriver) +
         " deleteMonitor=" + std::to_string(deleteMonitor) +
         " deleteProcessor=" + std::to_string(deleteProcessor) +
         " addPrinterNoDriver=" + std::to_string(noDriver);
}

std::string SpoolerDuplicates(RoleScratch& s) {
  MonitorInfo2 monitor{"Local Port", "", "localspl.dll"};
  uint32_t addMonitor = s.spooler.AddMonitor(monitor);
  uint32_t addProcessor = s.spooler.AddPrintProcessor("", "winprint.dll", "winprint");
  uint32_t driver = AddTestDriver(s);
  uint32_t printer = AddTestPrinter(s);
  uint32_t printerAgain = AddTestPrinter(s);
  RemoveTestPrinters(s);
  RemoveTestDriver(s);
  return "monitor=" + std::to_string(addMonitor) + " processor=" + std::to_string(addProcessor) +
         " driver=" + std::to_string(driver) + " printer=" + std::to_string(printer) +
         " printerAgain=" + std::to_string(printerAgain);
}

std::string SpoolerDriverLifecycle(RoleScratch& s) {
  uint32_t add = AddTestDriver(s);
  uint32_t replace = AddTestDriver(s);
  std::vector<DriverInfo3> drivers;
  s.spooler.EnumPrinterDrivers("", &drivers);
  std::string listed = "none";
  for (const DriverInfo3& d : drivers) {
    if (text::EqualsNoCase(d.name, kDriver))
      listed = d.name + "/" + d.environment + "/v" + std::to_string(d.version) + "/" +
               text::FoldCase(d.dataFile).substr(text::FoldCase(d.dataFile).rfind('\\') + 1);
  }
  uint32_t printer = AddTestPrinter(s);
  uint32_t inUse = s.spooler.DeletePrinterDriver("", kDriver);
  RemoveTestPrinters(s);
  uint32_t remove = s.spooler.DeletePrinterDriver("", "mq role test DRIVER");
  uint32_t again = s.spooler.DeletePrinterDriver("", kDriver);
  RemoveTestDriver(s);
  return "add=" + std::to_string(add) + " replace=" + std::to_string(replace) + " listed=" + listed +
         " printer=" + std::to_string(printer) + " deleteInUse=" + std::to_string(inUse) +
         " delete=" + std::to_string(remove) + " again=" + std::to_string(again);
}

std::string SpoolerPrinterHandles(RoleScratch& s) {
  AddTestDriver(s);
  uint32_t add = AddTestPrinter(s);
  PrinterHandle handle = kSentinel;
  uint32_t open = s.spooler.OpenPrinter("mq role test PRINTER", kPrinterAllAccess, &handle);
  PrinterInfo2 info;
  info.printerName = "untouched";
  uint32_t get = s.spooler.GetPrinter(handle, &info);
  std::string seen =
      info.printerName + "/" + info.portName + "/" + info.driverName + "/" + info.printProcessor;
  info.comment = "role";
  uint32_t set = s.spooler.SetPrinter(handle, info);
  PrinterInfo2 after;
  s.spooler.GetPrinter(handle, &after);
  std::vector<PrinterInfo2> printers;
  s.spooler.EnumPrinters(&printers);
  bool listed = std::any_of(printers.begin(), printers.end(),
                            [](const PrinterInfo2& p) { return p.printerName == kPrinter; });
  uint32_t close = s.spooler.ClosePrinter(handle);
  PrinterInfo2 closed;
  closed.printerName = "untouched";
  uint32_t getClosed = s.spooler.GetPrinter(handle, &closed);
  RemoveTestPrinters(s);
  PrinterHandle gone = kSentinel;
  uint32_t openGone = s.spooler.OpenPrinter(kPrinter, kPrinterAllAccess, &gone);
  RemoveTestDriver(s);
  return "add=" + std::to_string(add) + " open=" + std::to_string(open) + " get=" + std::to_string(get) +
         " " + seen + " set=" + std::to_string(set) + " comment=" + after.comment +
         (listed ? " listed" : " unlisted") + " close=" + std::to_string(close) +
         " getClosed=" + std::to_string(getClosed) + " " + closed.printerName +
         " openDeleted=" + std::to_string(openGone);
}

std::string SpoolerDocumentCallsWithoutDocument(RoleScratch& s) {
  AddTestDriver(s);
  AddTestPrinter(s);
  PrinterHandle handle = 0;
  uint32_t open = s.spooler.OpenPrinter(kPrinter, kPrinterAllAccess, &handle);
  const uint8_t bytes[] = {0x1B, 0x40};
  uint32_t written = kSentinel;
  uint32_t write = s.spooler.WritePrinter(handle, bytes, &written);
  uint32_t endDoc = s.spooler.EndDocPrinter(handle);
  s.spooler.ClosePrinter(handle);
  uint32_t jobId = kSentinel;
  uint32_t startClosed = s.spooler.StartDocPrinter(handle, "MQ Role Test", "RAW", &jobId);
  RemoveTestPrinters(s);
  RemoveTestDriver(s);
  return "open=" + std::to_string(open) + " write=" + std::to_string(write) + " written=" + Num(written) +
         " endDoc=" + std::to_string(endDoc) + " startDocClosed=" + std::to_string(startClosed) +
         " job=" + Num(jobId);
}

std::string SpoolerLocalPortTransceiver(RoleScratch& s) {
  PrinterHandle xcv = 0;
  uint32_t open = s.spooler.OpenPrinter(",XcvMonitor Local Port", kServerAccessAdminister, &xcv);
  if (open != 0) return "open=" + std::to_string(open);
  auto call = [&](const char* command) {
    std::u16string name = u"MQROLE1:";
    std::vector<uint8_t> input;
    for (char16_t unit : name) {
      input.push_back(static_cast<uint8_t>(unit));
      input.push_back(static_cast<uint8_t>(unit >> 8));
    }
    input.insert(input.end(), {0, 0});
    std::vector<uint8_t> output;
    uint32_t status = kSentinel;
    uint32_t rc = s.spooler.XcvData(xcv, command, input, 0, &output, &status);
    return std::to_string(rc) + "/" + Num(status);
  };
  auto listed = [&] {
    uint32_t needed = 0;
    std::vector<std::string> ports;
    s.spooler.EnumPorts(0, &needed, &ports);
    s.spooler.EnumPorts(needed, &needed, &ports);
    return std::find(ports.begin(), ports.end(), "MQROLE1:") != ports.end() ? "listed" : "unlisted";
  };
  std::string add = call("AddPort");
  std::string afterAdd = listed();
  std::string again = call("AddPort");
  std::string remove = call("DeletePort");
  std::string afterDelete = listed();
  s.spooler.ClosePrinter(xcv);
  return "add=" + add + " " + afterAdd + " again=" + again + " delete=" + remove + " " + afterDelete;
}

// ---- Scratch places ----

void DeleteKeyTree(Registry& registry, RegKey parent, const std::string& name) {
  RegKey key = 0;
  if (registry.OpenKey(parent, name, kKeyAllAccess, &key) == 0) {
    for (int guard = 0; guard < 100; ++guard) {
      std::string child;
      if (registry.EnumKey(key, 0, &child) != 0) break;
      DeleteKeyTree(registry, key, child);
    }
    registry.CloseKey(key);
  }
  registry.DeleteKey(parent, name);
}

void RemoveFolderTree(FileSystem& files, const std::string& folder) {
  std::vector<FileFindData> found;
  if (files.FindFiles(folder + "\\*", &found) == 0) {
    for (const FileFindData& entry : found) {
      std::string path = folder + "\\" + entry.name;
      if ((entry.attributes & kFileAttributeDirectory) != 0) {
        RemoveFolderTree(files, path);
      } else {
        files.SetAttributes(path, kFileAttributeNormal);
        files.Delete(path);
      }
    }
  }
  files.RemoveFolder(folder);
}

}  // namespace

const std::vector<RoleCase>& RoleCases() {
  static const std::vector<RoleCase> kCases = {
      // Registry.
      {"Registry", "a REG_SZ probed without a buffer, then at size-1, size and size+1", RegistryProbesAString,
       "null: 0 size=10 type=1 | size-1: 234 size=10 type=1 data=untouched | size: 0 size=10 type=1 "
       "data=61006200630064000000.. | size+1: 0 size=10 type=1 data=61006200630064000000.."},
      {"Registry", "a REG_BINARY probed the same way", RegistryProbesBinary,
       "null: 0 size=5 type=3 | size-1: 234 size=5 type=3 data=untouched | size: 0 size=5 type=3 "
       "data=0102030405.. | size+1: 0 size=5 type=3 data=0102030405.."},
      {"Registry", "a missing value leaves size, type and data alone", RegistryMissingValue,
       "2 size=4 type=untouched data=untouched"},
      {"Registry", "a buffer without a size is refused before anything is written", RegistryDataWithoutSize,
       "87 type=untouched data=untouched"},
      {"Registry", "value and key names are case-blind and keep their first spelling",
       RegistryNamesAreCaseBlind, "read=0 second enum=MixedCase create=0 again=0 existed open=0 delete=0"},
      {"Registry", "missing keys and values", RegistryMissingKeys,
       "open=2 key=untouched deleteKey=2 deleteValue=2"},
      {"Registry", "a key with subkeys is not deleted", RegistryDeleteKeyWithSubkeys,
       "parent=5 child=0 parentAgain=0"},
      {"Registry", "subkeys enumerate in name order, values in the order they were made; the end is 259",
       RegistryEnumerationOrder, "keys=a,b,C,259:untouched values=b,C,a,259:untouched",
       "keys=a,b,C,259:untouched values=a,b,C,259:untouched",
       "the registry server keeps values in name order too"},
      {"Registry", "the empty name is the key's default value, absent until set", RegistryDefaultValue,
       "before: 2 size=0 type=untouched | after=0 d"},
      // File system.
      {"FileSystem", "missing files and missing folders on the way", FilesMissingPaths,
       "attributes=2/untouched deep=3/untouched read=2/untouched deep=3/untouched setAttributes=2 deep=3 "
       "delete=2 deep=3 write=3"},
      {"FileSystem", "names are case-blind, keep their first spelling, and take either slash",
       FilesNamesAreCaseBlind, "read=two attributes=0x20 listed=Mixed.TXT slash=two"},
      {"FileSystem", "folders: made once, one level at a time, removed only when empty", FilesFolders,
       "create=0 again=183 overFile=183 noParent=3 removeNotEmpty=145 removeFile=267 removeMissing=2 "
       "deleteFolder=5 readFolder=5 writeFolder=5 attributes=0x10"},
      {"FileSystem", "a read-only file refuses writes, deletion and replacement; a copy keeps the attribute",
       FilesReadOnly,
       "attributes=0x1 copy=0 copyAttributes=0x21 delete=5 write=5 copyOver=5 moveOver=5 kept=kept "
       "cleared=0x80",
       "attributes=0x21 copy=0 copyAttributes=0x21 delete=5 write=0 copyOver=0 moveOver=0 kept=new "
       "cleared=0x20",
       "setting attributes keeps the archive mark, FILE_ATTRIBUTE_NORMAL reads back as archive, and "
       "read-only is the Unix write permission, which root is not held to: only deletion checks it"},
      {"FileSystem", "copy and move refusals, a rename to other letter case, and a replacing move",
       FilesCopyAndMove,
       "copyFailIfExists=80 kept=B copyMissing=2 copyFolder=5 copyNoFolder=3 move=183 moveMissing=2 "
       "moveNoFolder=3 moveCase=0 renamed=A.TXT moveReplace=0 b=A a=2/untouched",
       "copyFailIfExists=80 kept=B copyMissing=2 copyFolder=5 copyNoFolder=3 move=183 moveMissing=2 "
       "moveNoFolder=3 moveCase=0 renamed=a.txt moveReplace=0 b=A a=2/untouched",
       "a move to the same name in other letter case finds the file itself and keeps the old spelling"},
      {"FileSystem", "a search lists matches in name order with their sizes, never . and ..", FilesFind,
       "inf=0:a.inf,ab.inf,b.INF one=0:a.inf,b.INF none=2:untouched empty=2:untouched noFolder=3:untouched"},
      {"FileSystem", "a new file is marked for archiving; a folder carries the folder attribute",
       FilesNewFileAttributes, "file=0x20 folder=0x10"},
      // Spooler.
      {"Spooler", "EnumPorts probed without a buffer, then at size-1, size and size+1",
       SpoolerEnumPortsProbes,
       "0: 122 needed ports=untouched | size-1: 122 same size ports=untouched | size: 0 same size "
       "ports=LPT1:,... | size+1: 0 same size ports=LPT1:,..."},
      {"Spooler", "driver and processor folders per environment; an unknown environment is refused",
       SpoolerFolders,
       "'': 0 spool\\drivers\\x64, 0 spool\\prtprocs\\x64 | 'Windows x64': 0 spool\\drivers\\x64, 0 "
       "spool\\prtprocs\\x64 | 'windows nt x86': 0 spool\\drivers\\w32x86, 0 spool\\prtprocs\\w32x86 | "
       "'Windows 4.0': 0 spool\\drivers\\win40, 0 spool\\prtprocs\\win40 | 'Windows 11': 1805 untouched, "
       "1805 untouched"},
      {"Spooler", "unknown printers, monitors, processors and drivers", SpoolerUnknownNames,
       "open=1801 handle=untouched setDefault=1801 deleteDriver=1797 deleteMonitor=3000 "
       "deleteProcessor=1798 addPrinterNoDriver=1797",
       "open=1801 handle=untouched setDefault=1801 deleteDriver=1801 deleteMonitor=3000 deleteProcessor=0 "
       "addPrinterNoDriver=1797",
       "an unknown driver is an unknown printer name; print processors are not kept, so deleting one works"},
      {"Spooler", "names already in use", SpoolerDuplicates,
       "monitor=3006 processor=3005 driver=0 printer=0 printerAgain=1802",
       "monitor=3006 processor=0 driver=0 printer=0 printerAgain=0",
       "adding a print processor does nothing and works; a second printer of the same name is added"},
      {"Spooler", "a driver is added, replaced, listed, kept while a printer uses it, deleted case-blind",
       SpoolerDriverLifecycle,
       "add=0 replace=0 listed=MQ Role Test Driver/Windows x64/v3/mqrole.gpd printer=0 deleteInUse=3001 "
       "delete=0 again=1797",
       "add=0 replace=0 listed=MQ Role Test Driver/Windows x64/v3/mqrole.gpd printer=0 deleteInUse=0 "
       "delete=1801 again=1801",
       "a driver a printer still uses is deleted; an unknown driver is an unknown printer name"},
      {"Spooler", "a printer opened case-blind, read, changed, closed and deleted", SpoolerPrinterHandles,
       "add=0 open=0 get=0 MQ Role Test Printer/LPT1:/MQ Role Test Driver/winprint set=0 comment=role listed "
       "close=0 getClosed=6 untouched openDeleted=1801"},
      {"Spooler", "document calls before a document is started, and on a closed printer",
       SpoolerDocumentCallsWithoutDocument,
       "open=0 write=3003 written=untouched endDoc=3003 startDocClosed=6 job=untouched"},
      {"Spooler", "the local port monitor's transceiver adds and deletes a port", SpoolerLocalPortTransceiver,
       "add=0/0 listed again=0/183 delete=0/0 unlisted"},
  };
  return kCases;
}

std::string RunRoleCase(const RoleCase& row, RoleMachine& machine) {
  static int serial = 0;
  const std::string number = std::to_string(++serial);
  RegKey base = 0;
  if (machine.registry.CreateKey(kHkeyCurrentUser, machine.registryBase, kKeyAllAccess, &base, nullptr) != 0)
    return "scratch: registry";
  DeleteKeyTree(machine.registry, base, number);
  RegKey key = 0;
  if (machine.registry.CreateKey(base, number, kKeyAllAccess, &key, nullptr) != 0) return "scratch: key";
  machine.files.CreateFolder(machine.folderBase);
  const std::string folder = machine.folderBase + "\\" + number;
  RemoveFolderTree(machine.files, folder);
  if (machine.files.CreateFolder(folder) != 0) return "scratch: folder";

  RoleScratch scratch{machine.registry, key, machine.files, folder, machine.spooler};
  std::string line = row.run(scratch);

  machine.registry.CloseKey(key);
  DeleteKeyTree(machine.registry, base, number);
  machine.registry.CloseKey(base);
  RemoveFolderTree(machine.files, folder);
  return line;
}

FakeRoleMachine::FakeRoleMachine() {
  files.MakeFolders("C:\\Windows\\Temp");
  files.MakeFolders(spooler.DriverDirectory("") + "\\3");
  files.MakeFolders(spooler.ProcessorDirectory(""));
}

}  // namespace mq::platform::testing
