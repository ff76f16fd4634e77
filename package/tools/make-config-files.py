#!/usr/bin/env python3
"""Writes the sample package's device list and model files (DRVCONFIG) from the tables below.

Every model file carries a port section and one section per Windows generation for each of its models, with
every key the setup reads; file keys set to "0" name no file. Run it from anywhere after editing a table.
"""
import os

SUFFIXES = [".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"]

MODELS = {
    "receipt": [
        {
            "name": "MQ-450",
            "port": dict(USBSUPPORTED=1, LPTSUPPORTED=1, COMSUPPORTED=1, NETSUPPORTED=1, CLASSSUPPORTED=1,
                         LPTDEFAULT=1, RASTERVISIABLE=1, AdvancedSetup=1, BaudRate=38400, SystemNTSupported=0,
                         System2003Supported=1, SystemVistaSupported=1, System2008Supported=1,
                         SystemWin7Supported=1),
            "driver": "MQ-450",
            "processor": "WinPrint",
            "plugin": "MQ450UI.dll",
            "language": ["LANGUAGE_MQ450.ini", "ENG_MQ450.res", "CHN_MQ450.res", "CHF_MQ450.res"],
            "attributes": 64,
        },
        {
            "name": "MQ-200",
            "port": dict(USBSUPPORTED=1, LPTSUPPORTED=1, COMSUPPORTED=1, NETSUPPORTED=0, CLASSSUPPORTED=0,
                         LPTDEFAULT=0, RASTERVISIABLE=0, AdvancedSetup=0, BaudRate=9600, SystemNTSupported=0,
                         System2003Supported=1, SystemVistaSupported=1, System2008Supported=1,
                         SystemWin7Supported=1),
            "driver": "MQ-200",
            "processor": "ZNTPrint",
            "plugin": "0",
            "language": [],
            "attributes": 64,
        },
    ],
    "label": [
        {
            "name": "MQ-L80",
            "port": dict(USBSUPPORTED=1, LPTSUPPORTED=0, COMSUPPORTED=1, NETSUPPORTED=1, CLASSSUPPORTED=0,
                         LPTDEFAULT=2, RASTERVISIABLE=0, AdvancedSetup=1, BaudRate=115200, SystemNTSupported=0,
                         System2003Supported=1, SystemVistaSupported=1, System2008Supported=0,
                         SystemWin7Supported=1),
            "driver": "MQ-L80 Label",
            "processor": "WinPrint",
            "plugin": "0",
            "language": [],
            "attributes": 64,
        },
    ],
}


def model_sections(model):
    out = ["[%s.PORT]" % model["name"]]
    out += ["%s=%s" % (k, v) for k, v in model["port"].items()]
    data = model["name"].replace("-", "") + ".GPD"
    for suffix in SUFFIXES:
        out += ["", "[%s%s]" % (model["name"], suffix)]
        out.append("GDIDriverName=%s" % model["driver"])
        for kind in "SPUN":
            out.append("DriverName%s=%s" % (kind, model["driver"]))
        for prefix in ("GDI", "STD"):
            out += [
                "%sDriverPath=UNIDRV.DLL" % prefix,
                "%sDataFile=%s" % (prefix, data),
                "%sConfigFile=UNIDRVUI.DLL" % prefix,
                "%sHelpFile=UNIDRV.HLP" % prefix,
                "%sDataFileDLLName=MQRES.DLL" % prefix,
                "%sDataOemuiDLL=%s" % (prefix, model["plugin"]),
                "%sDataOemuniDLL=%s" % (prefix, "MQREND.DLL" if prefix == "GDI" else "0"),
                "%sDataOemuniini=%s" % (prefix, "MQREND.INI" if prefix == "GDI" else "0"),
                "%sProcessorDLLName=%s" % (prefix, "ZNTPROC.DLL" if model["processor"] != "WinPrint" else "0"),
                "%sPrintProcessor=%s" % (prefix, model["processor"]),
                "%s2KDDKDEV=1" % prefix,
            ]
        out.append("ATTRIBUTES=%d" % model["attributes"])
        out.append("ControlFontFile=%s" % ("MQ450CONTROL.dat" if model["plugin"] == "MQ450UI.dll" else "0"))
        out.append("USBInternalID=0")
        for i in range(9):
            name = model["language"][i] if i < len(model["language"]) else "0"
            out.append("LanguageResourceFile%d=%s" % (i + 1, name))
        out.append("DriverlogViewer=ZNTDriverlogViewer.exe")
        out.append("DriverlogINI=ZNTDriverLog.ini")
    return out


def device_list():
    entries = [(m["name"], t) for t in ("receipt", "label") for m in MODELS[t]]
    suffix = {"receipt": "ReceiptPrinter", "label": "LabelPrinter"}
    out = ["[DEVICENAME]", "DEVICENUMBER=%d" % len(entries)]
    out += ["DEVICENAME%d=%s-%s" % (i + 1, name, suffix[t]) for i, (name, t) in enumerate(entries)]
    out += ["DEFAULTNAME=1", "Supported32OR64=0", "LOADLICENSE=1", "GDISTDSign=0", "SupportedUSBMODE=0",
            "SHELLEXENAME=MQUtility", "Inffilename=err", "", "[ProcessorVersion]", "DriverVersion=100"]
    for suffix_name in SUFFIXES:
        out += ["", "[COMMON-MONITOR%s]" % suffix_name,
                "COMMONitorPName=ZNT Serial Port Monitor", "COMMONitorPDLLName=ZNTCOMMON.DLL",
                "COMMONitorPUIDLLName=0", "COMMONitorVersion=100",
                "USBMONitorPName=ZNT USB Port Monitor", "USBMONitorPDLLName=ZNTUSBMON.DLL",
                "USBMONitorPUIDLLName=0", "USBMONitorVersion=100",
                "USBLMONitorName=0", "USBLMONitorDLLName=0", "USBLMONitorVersion=0"]
    out += ["", "[SUPPORTED-USB-DEVICE]"] + ["ZNTUSB%d=1" % n for n in range(1, 5)]
    out += ["", "[USBCLASSPRINTER]"]
    for name, t in entries:
        for n in range(1, 5):
            out.append("%s(U)%d=USBPRINT\\ZNT%s%d" % (name, n, name.replace("-", ""), n))
    return out


def write(path, lines):
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


here = os.path.dirname(os.path.abspath(__file__))
config = os.path.join(os.path.dirname(here), "DRVCONFIG")
os.makedirs(config, exist_ok=True)
write(os.path.join(config, "setup.ini"), device_list())
for kind, models in MODELS.items():
    lines = []
    for model in models:
        if lines:
            lines.append("")
        lines += model_sections(model)
    for name in ("setup_%s.ini" % kind, "setup_%s_64.ini" % kind):
        write(os.path.join(config, name), lines)
