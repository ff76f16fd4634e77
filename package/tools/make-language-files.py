#!/usr/bin/env python3
"""Writes the installer's language files and licence texts of the sample package from the tables below.

English files are plain ASCII; the Chinese language files are UTF-16LE with a byte order mark (the Windows
profile functions read them as Unicode), the Chinese licence texts are in the code page of their Windows
(GBK for simplified, Big5 for traditional Chinese), since the wizard shows the licence file's bytes as they are.
Run it from the package folder after editing a text.
"""
import os

# (section, key, English, simplified Chinese, traditional Chinese)
TEXTS = [
    ("Message", "IDS_ABOUTBOX", "&About MQ Printer Setup...", "关于 MQ 打印机安装程序(&A)...", "關於 MQ 印表機安裝程式(&A)..."),
    ("Message", "IDS_ADMIN", "You need administrator rights to install a printer.\\1Log on as an administrator and run the setup again.", "安装打印机需要管理员权限。\\1请以管理员身份登录后重新运行安装程序。", "安裝印表機需要系統管理員權限。\\1請以系統管理員身分登入後重新執行安裝程式。"),
    ("Message", "IDS_ERR_ADDMONITOR", "The port monitor could not be added.", "无法添加端口监视器。", "無法新增連接埠監視器。"),
    ("Message", "IDS_ERR_ADDPORTERROR", "The network port could not be created.", "无法创建网络端口。", "無法建立網路連接埠。"),
    ("Message", "IDS_ERR_ADDPRINTER", "The printer could not be added.", "无法添加打印机。", "無法新增印表機。"),
    ("Message", "IDS_ERR_ADDPRNDRV3", "The printer driver could not be added.", "无法添加打印机驱动程序。", "無法新增印表機驅動程式。"),
    ("Message", "IDS_ERR_ADDPROCESSOR", "The print processor could not be added.", "无法添加打印处理器。", "無法新增列印處理器。"),
    ("Message", "IDS_ERR_ALLOCMEMORY", "The list of ports could not be read.", "无法读取端口列表。", "無法讀取連接埠清單。"),
    ("Message", "IDS_ERR_CLASSPRINTERIDERROR", "The port of the USB printer could not be determined.", "无法确定 USB 打印机的端口。", "無法確定 USB 印表機的連接埠。"),
    ("Message", "IDS_ERR_CLASSPRINTERNONEXIST", "No USB printer was found. Connect the printer, switch it on and try again.", "未找到 USB 打印机。请连接打印机并打开电源后重试。", "找不到 USB 印表機。請連接印表機並開啟電源後重試。"),
    ("Message", "IDS_ERR_COPYFIEL", "The file could not be copied: ", "无法复制文件：", "無法複製檔案："),
    ("Message", "IDS_ERR_COPYFIEL1", "\\1Close all programs that print and try again.", "\\1请关闭所有正在打印的程序后重试。", "\\1請關閉所有正在列印的程式後重試。"),
    ("Message", "IDS_ERR_DIRTYPE", "Unknown destination folder.", "未知的目标文件夹。", "未知的目的資料夾。"),
    ("Message", "IDS_ERR_EXITWIN", "Windows could not be restarted. Restart it yourself.", "无法重新启动 Windows，请手动重新启动。", "無法重新啟動 Windows，請手動重新啟動。"),
    ("Message", "IDS_ERR_GETDRIVERDIR", "The printer driver folder could not be found.", "找不到打印机驱动程序文件夹。", "找不到印表機驅動程式資料夾。"),
    ("Message", "IDS_ERR_GETPRODIR", "The print processor folder could not be found.", "找不到打印处理器文件夹。", "找不到列印處理器資料夾。"),
    ("Message", "IDS_ERR_GETSYSDIR", "The Windows system folder could not be found.", "找不到 Windows 系统文件夹。", "找不到 Windows 系統資料夾。"),
    ("Message", "IDS_ERR_GETWINDIR", "The Windows folder could not be found.", "找不到 Windows 文件夹。", "找不到 Windows 資料夾。"),
    ("Message", "IDS_ERR_HARDWAREIDNULL", "The package has no USB entry for this model and port.", "安装包中没有此型号和端口的 USB 项。", "安裝套件中沒有此型號與連接埠的 USB 項目。"),
    ("Message", "IDS_ERR_IPADDRISNULL", "Enter the IP address of the printer.", "请输入打印机的 IP 地址。", "請輸入印表機的 IP 位址。"),
    ("Message", "IDS_ERR_LOSTDRIVERFILE", "A driver file is missing from the setup configuration.", "安装配置中缺少驱动程序文件。", "安裝設定中缺少驅動程式檔案。"),
    ("Message", "IDS_ERR_NEEDRESTART", "A file is in use. Restart Windows and run the setup again.", "文件正在使用中。请重新启动 Windows 后再运行安装程序。", "檔案正在使用中。請重新啟動 Windows 後再執行安裝程式。"),
    ("Message", "IDS_ERR_NOLEFT", "The setup picture DRVCONFIG\\Left.bmp is missing.", "缺少安装图片 DRVCONFIG\\Left.bmp。", "缺少安裝圖片 DRVCONFIG\\Left.bmp。"),
    ("Message", "IDS_ERR_NOLICENSE", "The licence agreement is missing.", "缺少许可协议。", "缺少授權合約。"),
    ("Message", "IDS_ERR_NOSUPPORTINTERFACE", "This port cannot be used for the printer.", "此端口不能用于该打印机。", "此連接埠不能用於該印表機。"),
    ("Message", "IDS_ERR_NOSUPPORTUSB", "Windows NT 4.0 does not support USB printers.", "Windows NT 4.0 不支持 USB 打印机。", "Windows NT 4.0 不支援 USB 印表機。"),
    ("Message", "IDS_ERR_NOUSBDEVICE", "No USB printer answered. Check the cable and the power.", "USB 打印机无响应。请检查电缆和电源。", "USB 印表機沒有回應。請檢查纜線和電源。"),
    ("Message", "IDS_ERR_ONEPRINTER", "Connect only one USB printer while installing.", "安装时请只连接一台 USB 打印机。", "安裝時請只連接一台 USB 印表機。"),
    ("Message", "IDS_ERR_SELPRINTER", "Select a printer model.", "请选择打印机型号。", "請選擇印表機型號。"),
    ("Message", "IDS_ERR_SYSTEM", "This version of Windows is not recognised.", "无法识别此 Windows 版本。", "無法識別此 Windows 版本。"),
    ("Message", "IDS_ERR_TOOMANY", "There are too many printers of this model on this port.", "此端口上该型号的打印机过多。", "此連接埠上該型號的印表機過多。"),
    ("Message", "IDS_ERR_UNSUPPORTCOM", "This model does not support serial ports.", "此型号不支持串口。", "此型號不支援序列埠。"),
    ("Message", "IDS_ERR_UPDATEUSB", "The USB driver will be installed or updated.", "将安装或更新 USB 驱动程序。", "將安裝或更新 USB 驅動程式。"),
    ("Message", "IDS_INF_CHANGEID", "The printer ID does not match the port. Change the printer ID?", "打印机 ID 与端口不符。是否更改打印机 ID？", "印表機 ID 與連接埠不符。是否變更印表機 ID？"),
    ("Message", "IDS_INF_NTRESTART", "The printer has been installed.", "打印机已安装完成。", "印表機已安裝完成。"),
    ("Message", "IDS_INF_RESTART", "Windows must be restarted to finish. Restart now?", "必须重新启动 Windows 才能完成安装。现在重新启动吗？", "必須重新啟動 Windows 才能完成安裝。現在重新啟動嗎？"),
    ("Message", "IDS_INF_USBRESTART", "The printer has been installed.\\1If it does not print, unplug the USB cable and plug it in again.", "打印机已安装完成。\\1如果无法打印，请拔下 USB 电缆后重新插入。", "印表機已安裝完成。\\1如果無法列印，請拔下 USB 纜線後重新插入。"),
    ("Message", "IDS_NOTSUPPORT2003", "This model cannot be installed on Windows Server 2003.", "此型号不能安装在 Windows Server 2003 上。", "此型號不能安裝在 Windows Server 2003 上。"),
    ("Message", "IDS_NOTSUPPORT2008", "This model cannot be installed on Windows Server 2008.", "此型号不能安装在 Windows Server 2008 上。", "此型號不能安裝在 Windows Server 2008 上。"),
    ("Message", "IDS_NOTSUPPORTNT", "This model cannot be installed on Windows NT.", "此型号不能安装在 Windows NT 上。", "此型號不能安裝在 Windows NT 上。"),
    ("Message", "IDS_NOTSUPPORTVISTA", "This model cannot be installed on Windows Vista.", "此型号不能安装在 Windows Vista 上。", "此型號不能安裝在 Windows Vista 上。"),
    ("Message", "IDS_NOTSUPPORTWin7", "This model cannot be installed on Windows 7.", "此型号不能安装在 Windows 7 上。", "此型號不能安裝在 Windows 7 上。"),
    ("Message", "IDS_TYPICAL_NOTES", "This model is installed with the typical settings.", "此型号使用典型设置安装。", "此型號使用典型設定安裝。"),
    ("Message", "IDS_X32", "This package is for 64-bit Windows only.", "此安装包仅适用于 64 位 Windows。", "此安裝套件僅適用於 64 位元 Windows。"),
    ("Message", "IDS_X64", "This package is for 32-bit Windows only.", "此安装包仅适用于 32 位 Windows。", "此安裝套件僅適用於 32 位元 Windows。"),
    ("Setup", "Caption", "MQ Printer Setup", "MQ 打印机安装程序", "MQ 印表機安裝程式"),
    ("Setup", "Help", "Press F1 for help.", "按 F1 获取帮助。", "按 F1 取得說明。"),
    ("Setup", "Back", "< &Back", "< 上一步(&B)", "< 上一步(&B)"),
    ("Setup", "Next", "&Next >", "下一步(&N) >", "下一步(&N) >"),
    ("Setup", "Install", "&Install", "安装(&I)", "安裝(&I)"),
    ("Setup", "Cancel", "Cancel", "取消", "取消"),
    ("Setup", "Close", "Close the printer uninstall program first.", "请先关闭打印机卸载程序。", "請先關閉印表機解除安裝程式。"),
    ("Setup", "Nonsupport", "This version of Windows is not supported.", "不支持此 Windows 版本。", "不支援此 Windows 版本。"),
    ("Setup", "PortNull", "The package offers no port for its printers.", "安装包没有为打印机提供任何端口。", "安裝套件沒有為印表機提供任何連接埠。"),
    ("Legal", "Agreement", "Licence agreement", "许可协议", "授權合約"),
    ("Legal", "Accept", "I &accept the agreement", "我接受协议(&A)", "我接受合約(&A)"),
    ("Legal", "Reject", "I do &not accept the agreement", "我不接受协议(&N)", "我不接受合約(&N)"),
    ("Series", "Select", "Printer type and model", "打印机类型和型号", "印表機類型與型號"),
    ("Series", "Receipt", "Receipt printer", "票据打印机", "收據印表機"),
    ("Series", "Ticket", "Ticket printer", "票券打印机", "票券印表機"),
    ("Series", "Label", "Label printer", "标签打印机", "標籤印表機"),
    ("Series", "Embedded", "Embedded printer", "嵌入式打印机", "嵌入式印表機"),
    ("Series", "Default", "Set as &default printer", "设为默认打印机(&D)", "設為預設印表機(&D)"),
    ("Mode", "Type", "Setup type", "安装类型", "安裝類型"),
    ("Mode", "Typical", "&Typical", "典型(&T)", "典型(&T)"),
    ("Mode", "Advanced", "&Advanced", "高级(&A)", "進階(&A)"),
    ("Mode", "Remarks", "Notes", "说明", "說明"),
    ("Mode", "Note1", "Typical: the printer is installed with the recommended settings.", "典型：使用推荐设置安装打印机。", "典型：使用建議設定安裝印表機。"),
    ("Mode", "Note2", "Advanced: choose every port and the serial settings yourself.", "高级：自行选择端口和串口设置。", "進階：自行選擇連接埠和序列埠設定。"),
    ("Mode", "Note3", "For experienced users.", "适用于有经验的用户。", "適用於有經驗的使用者。"),
    ("System", "Select", "Windows version", "Windows 版本", "Windows 版本"),
    ("Confirm", "Set", "Port", "端口", "連接埠"),
    ("Confirm", "Ports", "Ports:", "端口：", "連接埠："),
    ("Confirm", "Com", "Serial settings", "串口设置", "序列埠設定"),
    ("Confirm", "BaudRate", "Bits per second:", "波特率：", "傳輸速率："),
    ("Confirm", "Parity", "Parity:", "校验：", "同位檢查："),
    ("Confirm", "ByteSize", "Data bits:", "数据位：", "資料位元："),
    ("Confirm", "StopBits", "Stop bits:", "停止位：", "停止位元："),
    ("Confirm", "Protocol", "Flow control:", "流控制：", "流量控制："),
    ("Confirm", "Raster", "Raster Graphic Printing", "光栅图形打印", "點陣圖形列印"),
    # The serial settings are taken from these texts: parity texts must start with E, M, N, O, S and the
    # protocol texts must read exactly None, Xon/Xoff and Hardware in every language.
    ("Confirm", "Parity.Even", "Even", "Even 偶校验", "Even 偶同位"),
    ("Confirm", "Parity.Mark", "Mark", "Mark 标记", "Mark 標記"),
    ("Confirm", "Parity.None", "None", "None 无", "None 無"),
    ("Confirm", "Parity.Odd", "Odd", "Odd 奇校验", "Odd 奇同位"),
    ("Confirm", "Parity.Space", "Space", "Space 空格", "Space 空白"),
    ("Confirm", "Protocol.None", "None", "None", "None"),
    ("Confirm", "Protocol.Xonoff", "Xon/Xoff", "Xon/Xoff", "Xon/Xoff"),
    ("Confirm", "Protocol.Hardware", "Hardware", "Hardware", "Hardware"),
    ("About", "Caption", "About MQ Printer Setup", "关于 MQ 打印机安装程序", "關於 MQ 印表機安裝程式"),
    ("About", "Version", "MQ Printer Setup version 1.0", "MQ 打印机安装程序 版本 1.0", "MQ 印表機安裝程式 版本 1.0"),
    ("About", "Copyright", "Copyright (C) MQ printer package authors", "版权所有 (C) MQ 打印机软件包作者", "版權所有 (C) MQ 印表機軟體套件作者"),
    ("About", "OK", "OK", "确定", "確定"),
    ("Progress", "Wait", "Installing the printer, please wait...", "正在安装打印机，请稍候...", "正在安裝印表機，請稍候..."),
    ("Help Guide", "Caption", "MQ Printer Setup Guide", "MQ 打印机安装指南", "MQ 印表機安裝指南"),
]

LICENCE = {
    "EN": ("MQ PRINTER SOFTWARE LICENCE AGREEMENT\r\n\r\n"
           "This sample package is provided to show how the MQ printer setup is configured. You may install and use "
           "the software with printers of the MQ line. You may not sell the software on its own. The software is "
           "provided \"as is\", without warranty of any kind.\r\n\r\n"
           "Choose \"I accept the agreement\" to continue the installation.\r\n"),
    "CN": ("MQ 打印机软件许可协议\r\n\r\n"
           "本示例安装包用于说明 MQ 打印机安装程序的配置方式。您可以将本软件与 MQ 系列打印机一起安装和使用。"
           "不得单独出售本软件。本软件按“原样”提供，不附带任何形式的担保。\r\n\r\n"
           "选择“我接受协议”以继续安装。\r\n"),
    "TCN": ("MQ 印表機軟體授權合約\r\n\r\n"
            "本範例安裝套件用於說明 MQ 印表機安裝程式的設定方式。您可以將本軟體與 MQ 系列印表機一起安裝和使用。"
            "不得單獨出售本軟體。本軟體按「原樣」提供，不附帶任何形式的擔保。\r\n\r\n"
            "選擇「我接受合約」以繼續安裝。\r\n"),
}


def write_language(path, column, unicode):
    lines, section = [], None
    for entry in TEXTS:
        if entry[0] != section:
            section = entry[0]
            if lines:
                lines.append("")
            lines.append("[%s]" % section)
        value = entry[column]
        # The profile functions drop trailing blanks unless the value is quoted.
        if value != value.rstrip():
            value = '"%s"' % value
        lines.append("%s=%s" % (entry[1], value))
    text = "\r\n".join(lines) + "\r\n"
    data = b"\xff\xfe" + text.encode("utf-16-le") if unicode else text.encode("ascii")
    with open(path, "wb") as f:
        f.write(data)


here = os.path.dirname(os.path.abspath(__file__))
package = os.path.dirname(here)
os.makedirs(os.path.join(package, "language"), exist_ok=True)
os.makedirs(os.path.join(package, "License"), exist_ok=True)
write_language(os.path.join(package, "language", "setup_EN.ini"), 2, False)
write_language(os.path.join(package, "language", "setup_CN.ini"), 3, True)
write_language(os.path.join(package, "language", "setup_TCN.ini"), 4, True)
for tag, encoding in (("EN", "ascii"), ("CN", "gbk"), ("TCN", "big5")):
    with open(os.path.join(package, "License", "License_%s.txt" % tag), "wb") as f:
        f.write(LICENCE[tag].encode(encoding))
