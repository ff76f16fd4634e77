#!/usr/bin/env python3
"""Writes the uninstaller's configuration (DRVCONFIG/Uninstall.ini) and its language files
(language/uninstall_EN.ini, _CN.ini, _TCN.ini) of the sample package from the tables below.

Uninstall.ini names what the installer puts in place from this package: the printers whose driver name holds
"MQ-", the serial and USB port monitors and the package's print processor, with each component's files per
Windows generation (the uninstaller reads the ".2K" sections on Windows XP too). English is plain ASCII; the
Chinese files are UTF-16LE with a byte order mark. Run it from anywhere after editing a table.
"""
import os

# The uninstaller's generation suffixes (no ".XP": Windows XP reads ".2K").
SUFFIXES = [".98", ".NT", ".2K", ".2003", ".Vista", ".2008", ".Win7"]

COMPONENTS = [
    ("ZNTSerialPortMonitor", dict(USBMONitorName="ZNT Serial Port Monitor", MonitorPDLLName="ZNTCOMMON.DLL",
                                  MONitorPUIDLLName="0", USBMONitorDLLName="0")),
    ("ZNTUSBPortMonitor", dict(USBMONitorName="ZNT USB Port Monitor", MonitorPDLLName="ZNTUSBMON.DLL",
                               MONitorPUIDLLName="0", USBMONitorDLLName="0")),
    ("ZNTPrint", dict(ProcessorDllName="ZNTPROC.DLL")),
]

# (section, key, English, simplified Chinese, traditional Chinese); "%s" receives a component's name.
TEXTS = [
    ("Uninstall", "Title", "MQ Printer Uninstall", "MQ 打印机卸载程序", "MQ 印表機解除安裝程式"),
    ("Uninstall", "Note", "Check the printers and components to remove, then choose Uninstall.",
     "请勾选要删除的打印机和组件，然后单击“卸载”。", "請勾選要移除的印表機和元件，然後按「解除安裝」。"),
    ("Uninstall", "Uninstall", "&Uninstall", "卸载(&U)", "解除安裝(&U)"),
    ("Uninstall", "Select", "Select &All", "全选(&A)", "全選(&A)"),
    ("Uninstall", "Exit", "E&xit", "退出(&X)", "結束(&X)"),
    ("Uninstall", "USBuninstall", "Also remove the USB printer driver", "同时删除 USB 打印机驱动程序",
     "同時移除 USB 印表機驅動程式"),
    ("Uninstall", "Close", "Close the printer setup program before you uninstall.",
     "请先关闭打印机安装程序，再运行卸载程序。", "請先關閉印表機安裝程式，再執行解除安裝程式。"),
    ("Uninstall", "CaptionName", "MQ USB Driver Setup", "MQ USB Driver Setup", "MQ USB Driver Setup"),
    ("Reboot", "Title", "Restart Windows", "重新启动 Windows", "重新啟動 Windows"),
    ("Reboot", "Note1", "The printer software was removed.", "打印机软件已删除。", "印表機軟體已移除。"),
    ("Reboot", "Note2", "Windows must restart to finish the removal.", "必须重新启动 Windows 才能完成删除。",
     "必須重新啟動 Windows 才能完成移除。"),
    ("Reboot", "Note3", "Restart now?", "现在重新启动吗？", "現在重新啟動嗎？"),
    ("Reboot", "Yes", "&Yes", "是(&Y)", "是(&Y)"),
    ("Reboot", "No", "&No", "否(&N)", "否(&N)"),
    ("About", "Title", "About MQ Printer Uninstall", "关于 MQ 打印机卸载程序", "關於 MQ 印表機解除安裝程式"),
    ("About", "Version", "MQ Printer Uninstall 1.0", "MQ 打印机卸载程序 1.0", "MQ 印表機解除安裝程式 1.0"),
    ("About", "Copyright", "Copyright (C) 2026 ZNT", "版权所有 (C) 2026 ZNT", "版權所有 (C) 2026 ZNT"),
    ("About", "OK", "OK", "确定", "確定"),
    ("Message", "IDS_ABOUTBOX", "&About MQ Printer Uninstall...", "关于 MQ 打印机卸载程序(&A)...",
     "關於 MQ 印表機解除安裝程式(&A)..."),
    ("Message", "IDS_ERR_GETSYSDIR", "The program folder could not be read.", "无法读取程序文件夹。", "無法讀取程式資料夾。"),
    ("Message", "IDS_ERR_INVALID", "The program folder could not be searched.", "无法搜索程序文件夹。",
     "無法搜尋程式資料夾。"),
    ("Message", "IDS_ERR_NOINI", "Uninstall.ini was not found beside the program or in DRVCONFIG.",
     "在程序所在文件夹和 DRVCONFIG 中都找不到 Uninstall.ini。", "在程式所在資料夾和 DRVCONFIG 中都找不到 Uninstall.ini。"),
    ("Message", "IDS_SELECTPRN1", "Check the components to remove and choose Uninstall.",
     "请勾选要删除的组件并单击“卸载”。", "請勾選要移除的元件並按「解除安裝」。"),
    ("Message", "IDS_DELETING1", "Removing %s...", "正在删除 %s...", "正在移除 %s..."),
    ("Message", "IDS_DELETING2", "Removing the printer %s...", "正在删除打印机 %s...", "正在移除印表機 %s..."),
    ("Message", "IDS_DELETING3", "Removing the USB printer driver...", "正在删除 USB 打印机驱动程序...",
     "正在移除 USB 印表機驅動程式..."),
    ("Message", "IDS_SUCCESS", "%s was removed.", "%s 已删除。", "%s 已移除。"),
    ("Message", "IDS_USING", "%s is in use and was not removed.", "%s 正在使用中，未删除。", "%s 正在使用中，未移除。"),
    ("Message", "IDS_ERR_UNINSTALL", "%s could not be removed.", "无法删除 %s。", "無法移除 %s。"),
    ("Message", "IDS_ERR_OPENPRN", "The printer %s could not be opened.", "无法打开打印机 %s。", "無法開啟印表機 %s。"),
    ("Message", "IDS_ERR_GETPRNINFO", "The printer information could not be read.", "无法读取打印机信息。",
     "無法讀取印表機資訊。"),
    ("Message", "IDS_ERR_ALLOC", "Not enough memory.", "内存不足。", "記憶體不足。"),
    ("Message", "IDS_ERR_HAVEJOB1", "%s still has print jobs or is in use. Wait until they are done.",
     "%s 仍有打印作业或正在使用中，请等待完成。", "%s 仍有列印工作或正在使用中，請等待完成。"),
    ("Message", "IDS_ERR_HAVEJOB2", "The printer %s has print jobs. Wait until they are done.",
     "打印机 %s 有打印作业，请等待完成。", "印表機 %s 有列印工作，請等待完成。"),
    ("Message", "IDS_ERR_DELPRINTER", "The spooler refused to delete the printer.", "打印后台程序拒绝删除打印机。",
     "列印多工緩衝處理器拒絕刪除印表機。"),
    ("Message", "IDS_DRVDELETING", "Removing the driver of %s...", "正在删除 %s 的驱动程序...", "正在移除 %s 的驅動程式..."),
    ("Message", "IDS_DRV_SUCCESS", "The driver was removed.", "驱动程序已删除。", "驅動程式已移除。"),
    ("Message", "IDS_ERR_DRVUSING", "The driver is still used by another printer and stays.",
     "驱动程序仍被其他打印机使用，予以保留。", "驅動程式仍被其他印表機使用，予以保留。"),
    ("Message", "IDS_ERR_DRVDEL", "The driver could not be removed.", "无法删除驱动程序。", "無法移除驅動程式。"),
    ("Message", "IDS_DRV_SUCCESS1", "The USB printer driver setup has finished.", "USB 打印机驱动程序安装程序已结束。",
     "USB 印表機驅動程式安裝程式已結束。"),
]


def ini_text(sections):
    lines = []
    for name, keys in sections:
        if lines:
            lines.append("")
        lines.append("[%s]" % name)
        lines.extend("%s=%s" % (key, value) for key, value in keys)
    return "\r\n".join(lines) + "\r\n"


def language_sections(column):
    sections = []
    for entry in TEXTS:
        if not sections or sections[-1][0] != entry[0]:
            sections.append((entry[0], []))
        sections[-1][1].append((entry[1], entry[column]))
    return sections


here = os.path.dirname(os.path.abspath(__file__))
package = os.path.dirname(here)
config = [
    ("BYPRINTER", [("PRINTERNUM", "1"), ("PRINTERNAME1", "MQ-"), ("MANUFACTURER", "ZNT")]),
    ("BYMONITOR", [("MonitorNUM", "2"), ("MONITORNAME1", "ZNT Serial"), ("MONITORNAME2", "ZNT USB")]),
    ("BYPROC", [("PROCNUM", "1"), ("PROCNAME1", "ZNTPrint")]),
]
for name, keys in COMPONENTS:
    for suffix in SUFFIXES:
        config.append((name + suffix, list(keys.items())))
with open(os.path.join(package, "DRVCONFIG", "Uninstall.ini"), "wb") as f:
    f.write(ini_text(config).encode("ascii"))
for tag, column, unicode in (("EN", 2, False), ("CN", 3, True), ("TCN", 4, True)):
    text = ini_text(language_sections(column))
    data = b"\xff\xfe" + text.encode("utf-16-le") if unicode else text.encode("ascii")
    with open(os.path.join(package, "language", "uninstall_%s.ini" % tag), "wb") as f:
        f.write(data)
