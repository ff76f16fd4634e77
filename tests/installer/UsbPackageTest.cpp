// The sample package's WinUSB INF binds exactly the vendor-driver products of the package's vendor ID and
// registers the interface class that ZnUsbInt.dll enumerates.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "installer/UsbPrinters.h"

namespace mq::installer {
namespace {

TEST(UsbPackageTest, WinUsbInfNamesTheVendorDriverProductsAndTheInterface) {
  std::ifstream in(std::string(MQ_PACKAGE_DIR) + "/USBDRV/WinUSB/ZnUsbWinUsb.inf", std::ios::binary);
  ASSERT_TRUE(in) << "the INF ships with the package";
  std::stringstream text;
  text << in.rdbuf();
  std::string inf = text.str();

  // Every hardware ID the INF binds, once per architecture section.
  int bound = 0;
  for (size_t at = inf.find("USB\\VID_"); at != std::string::npos; at = inf.find("USB\\VID_", at + 1)) {
    std::string id = inf.substr(at, 21);
    std::optional<uint16_t> product = VendorProductId(id);
    ASSERT_TRUE(product.has_value()) << id;
    EXPECT_EQ(GroupOfProduct(*product), UsbProductGroup::kVendorDriver) << id;
    ++bound;
  }
  for (uint16_t product : {0x1000, 0x1001, 0x1002, static_cast<int>(kVendorUsbId)}) {
    char id[32];
    std::snprintf(id, sizeof id, "USB\\VID_%04X&PID_%04X", kVendorUsbId, product);
    EXPECT_NE(inf.find(id), std::string::npos) << id;
  }
  EXPECT_EQ(bound, 8);
  EXPECT_NE(inf.find("HKR,,DeviceInterfaceGUIDs,0x10000,\"" + std::string(kVendorInterfaceGuid) + "\""),
            std::string::npos);
  EXPECT_NE(inf.find("Needs   = WINUSB.NT"), std::string::npos);
}

}  // namespace
}  // namespace mq::installer
