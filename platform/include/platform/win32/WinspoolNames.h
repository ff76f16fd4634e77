// Include after <winspool.h> in a file that uses the Spooler role's methods by name: the role's methods carry
// the winspool function names, which the header turns into macros for their W forms.
#pragma once

#undef AddMonitor
#undef DeleteMonitor
#undef EnumMonitors
#undef AddPrintProcessor
#undef DeletePrintProcessor
#undef EnumPrintProcessors
#undef AddPrinterDriver
#undef DeletePrinterDriver
#undef DeletePrinterDriverEx
#undef DeletePort
#undef EnumPrinterDrivers
#undef AddPrinter
#undef EnumPrinters
#undef OpenPrinter
#undef GetPrinter
#undef SetPrinter
#undef SetDefaultPrinter
#undef EnumPorts
#undef XcvData
#undef GetPrinterDriverDirectory
#undef GetPrintProcessorDirectory
#undef StartDocPrinter
#undef EnumForms
#undef AddForm
#undef SetForm
#undef DeleteForm
