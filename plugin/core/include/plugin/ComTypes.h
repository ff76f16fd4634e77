// The COM binary interface, declared in portable C++: GUIDs, HRESULT values and IUnknown. A class with only
// pure virtual methods and single inheritance has the COM vtable layout under GCC/MinGW; MQ_COM_CALL (set by
// the build: __stdcall for Windows, empty natively) gives the methods the COM calling convention on x86.
#pragma once

#include <cstdint>
#include <cstring>

#ifndef MQ_COM_CALL
#define MQ_COM_CALL
#endif

namespace mq::com {

using HResult = int32_t;

inline constexpr HResult kOk = 0;                                                // S_OK
inline constexpr HResult kFalse = 1;                                             // S_FALSE
inline constexpr HResult kNotImpl = static_cast<int32_t>(0x80004001);            // E_NOTIMPL
inline constexpr HResult kNoInterface = static_cast<int32_t>(0x80004002);        // E_NOINTERFACE
inline constexpr HResult kFail = static_cast<int32_t>(0x80004005);               // E_FAIL
inline constexpr HResult kOutOfMemory = static_cast<int32_t>(0x8007000E);        // E_OUTOFMEMORY
inline constexpr HResult kNoAggregation = static_cast<int32_t>(0x80040110);      // CLASS_E_NOAGGREGATION
inline constexpr HResult kClassNotAvailable = static_cast<int32_t>(0x80040111);  // CLASS_E_CLASSNOTAVAILABLE

// Same layout as the Windows GUID.
struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];

  friend bool operator==(const Guid& a, const Guid& b) { return std::memcmp(&a, &b, sizeof(Guid)) == 0; }
};
static_assert(sizeof(Guid) == 16);

// {00000000-0000-0000-C000-000000000046}
inline constexpr Guid kIidIUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00000001-0000-0000-C000-000000000046}
inline constexpr Guid kIidIClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IUnknown {
 public:
  virtual HResult MQ_COM_CALL QueryInterface(const Guid& riid, void** ppv) = 0;
  virtual uint32_t MQ_COM_CALL AddRef() = 0;
  virtual uint32_t MQ_COM_CALL Release() = 0;

 protected:
  ~IUnknown() = default;  // COM objects are destroyed through Release only
};

class IClassFactory : public IUnknown {
 public:
  virtual HResult MQ_COM_CALL CreateInstance(IUnknown* outer, const Guid& riid, void** ppv) = 0;
  virtual HResult MQ_COM_CALL LockServer(int32_t lock) = 0;

 protected:
  ~IClassFactory() = default;
};

}  // namespace mq::com
