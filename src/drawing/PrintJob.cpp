// The pass-through side of the printing service: one CUPS job whose document is the PCL stream,
// handed to the queue unchanged.

#include <cups/cups.h>

#include "drawing/DrawingOutput.h"
#include "shell/base/Host.h"

namespace plotane {

namespace {

class CupsDocumentSink : public ByteSink {
 public:
  bool write(const uint8_t* data, std::size_t n) override {
    return cupsWriteRequestData(CUPS_HTTP_DEFAULT, reinterpret_cast<const char*>(data), n) ==
           HTTP_STATUS_CONTINUE;
  }
};

std::string serviceError(const char* fallback) {
  const char* text = cupsLastErrorString();
  return text && *text ? std::string(text) : std::string(fallback);
}

}  // namespace

bool PrintPclToCups(Drawing& drawing, const std::string& destination, const std::string& title) {
  Host& host = drawing.host();
  BusyCursor busy(host);
  std::string queue = destination;
  if (queue.empty()) {
    const char* def = cupsGetDefault();
    if (!def || !*def) {
      // The service's last error here is a stale low-level one; say what is missing.
      host.message("No default printer", "Print");
      return false;
    }
    queue = def;
  }
  const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), 0, nullptr);
  if (job <= 0) {
    host.message(serviceError("The print job could not be created"), "Print");
    return false;
  }
  if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, title.c_str(),
                        "application/vnd.hp-PCL", 1) != HTTP_STATUS_CONTINUE) {
    host.message(serviceError("The print job could not be started"), "Print");
    cupsCancelJob(queue.c_str(), job);
    return false;
  }
  CupsDocumentSink sink;
  const bool sent = drawing.WritePcl(sink);
  const ipp_status_t status = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str());
  if (!sent || status > IPP_STATUS_OK_CONFLICTING) {
    host.message(serviceError("The printer did not accept the job"), "Print");
    if (!sent) cupsCancelJob(queue.c_str(), job);
    return false;
  }
  return true;
}

}  // namespace plotane
