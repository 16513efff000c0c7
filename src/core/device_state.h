#pragma once
#include <cstdint>

namespace qvx {

// The port and the instrument on it (device/): the port choice and its addresses, and
// what the presence probe and the power test found.
struct DeviceState {
  int LptNumber = 1;
  std::uint32_t DataPort = 0x378, StatusPort = 0x379, ControlPort = 0x37A, EcrPort = 0x77A;
  int PortIdle = 0;
  int ModelCode = 0;
  float RateMantissa = 1.0f;
  int ProbeBits = 0;
  int ChanBFitted = 0;
  int GenFitted = 0;
  int PowerFault = 0;
  std::int32_t DeviceMemSize = 65536;
  int ConfigExitReq = 0;    // port panel: its EXIT was pressed
  int ConfigShownPort = 1;  // port panel: the port number last shown
  int ConfigWriteFlag = 1;  // port panel: the chosen port goes to the port file on EXIT
};

}  // namespace qvx
