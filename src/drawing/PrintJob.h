#pragma once
// How the PCL stream reaches a CUPS queue (the job itself: PrintPclToCups in DrawingOutput.h).

#include <string>
#include <vector>

namespace plotane {

inline constexpr const char* kPclFormat = "application/vnd.hp-PCL";
inline constexpr const char* kRawFormat = "application/vnd.cups-raw";

// True when an IEEE 1284 device ID ("MFG:HP;MDL:...;CMD:PCL,PJL;") names PCL among the
// printer's command sets (CMD or COMMAND SET), PCL XL alone not counting.
bool DeviceIdTakesPcl(const std::string& deviceId);

// The document format for the PCL stream on a queue that lists `formats` as its
// document-format-supported and reports `deviceId` as its printer-device-id: the PCL format
// itself when listed; else the raw format (the stream reaches the printer unchanged) when listed
// and the printer takes PCL or names no command set at all (a queue without a driver); else
// empty: the queue does not take PCL. Every driver queue lists the raw format, a PostScript one
// too, so the device ID decides.
std::string ChoosePclFormat(const std::vector<std::string>& formats, const std::string& deviceId);

// The message when a queue does not take PCL.
std::string NoPclMessage(const std::string& queue);

}  // namespace plotane
