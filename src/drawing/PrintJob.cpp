// The pass-through side of the printing service: one CUPS job whose document is the PCL stream,
// handed to the queue unchanged in a format the queue says it takes.

#include "drawing/PrintJob.h"

#include <cups/cups.h>
#include <dlfcn.h>

#include <algorithm>
#include <cctype>

#include "drawing/DrawingOutput.h"
#include "shell/base/Host.h"

namespace plotane {

namespace {

// The printing service's library, opened on the first print job: the program does not link it,
// so that a run that prints nothing never loads it and what it pulls in.
#define PLOTANE_CUPS_FUNCTIONS(X)                                                               \
  X(cupsCancelDestJob)                                                                          \
  X(cupsCopyDestInfo) X(cupsCreateDestJob) X(cupsDoRequest) X(cupsEncryption)                   \
      X(cupsFindDestSupported) X(cupsFinishDestDocument) X(cupsFreeDestInfo) X(cupsFreeDests)   \
          X(cupsGetNamedDest) X(cupsGetOption) X(cupsLastError) X(cupsLastErrorString)          \
              X(cupsServer) X(cupsSetServer) X(cupsStartDestDocument) X(cupsWriteRequestData)   \
                  X(httpClose) X(httpConnect2) X(ippAddString) X(ippDelete) X(ippFindAttribute) \
                      X(ippGetCount) X(ippGetString) X(ippNewRequest) X(ippPort)

struct CupsLibrary {
#define PLOTANE_CUPS_POINTER(f) decltype(&::f) f = nullptr;
  PLOTANE_CUPS_FUNCTIONS(PLOTANE_CUPS_POINTER)
#undef PLOTANE_CUPS_POINTER

  // False with `error` set when the library or one of its functions is missing.
  bool load(std::string& error) {
    void* lib = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
      const char* e = ::dlerror();
      error = e ? e : "libcups.so.2 is missing";
      return false;
    }
#define PLOTANE_CUPS_LOAD(f)                              \
  f = reinterpret_cast<decltype(&::f)>(::dlsym(lib, #f)); \
  if (!f) {                                               \
    error = "libcups.so.2 has no " #f;                    \
    return false;                                         \
  }
    PLOTANE_CUPS_FUNCTIONS(PLOTANE_CUPS_LOAD)
#undef PLOTANE_CUPS_LOAD
    return true;
  }
};

std::string upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The command sets of a device ID (the values of CMD or COMMAND SET), upper case.
std::vector<std::string> commandSets(const std::string& deviceId) {
  std::vector<std::string> sets;
  std::size_t at = 0;
  while (at < deviceId.size()) {
    std::size_t end = deviceId.find(';', at);
    if (end == std::string::npos) end = deviceId.size();
    const std::string field = deviceId.substr(at, end - at);
    at = end + 1;
    const std::size_t colon = field.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = upper(trim(field.substr(0, colon)));
    if (key != "CMD" && key != "COMMAND SET") continue;
    const std::string values = field.substr(colon + 1);
    std::size_t v = 0;
    while (v <= values.size()) {
      std::size_t comma = values.find(',', v);
      if (comma == std::string::npos) comma = values.size();
      const std::string value = upper(trim(values.substr(v, comma - v)));
      if (!value.empty()) sets.push_back(value);
      v = comma + 1;
    }
  }
  return sets;
}

class CupsDocumentSink : public ByteSink {
 public:
  CupsDocumentSink(const CupsLibrary& cups, http_t* http) : cups(cups), http_(http) {}
  bool write(const uint8_t* data, std::size_t n) override {
    return cups.cupsWriteRequestData(http_, reinterpret_cast<const char*>(data), n) ==
           HTTP_STATUS_CONTINUE;
  }

 private:
  const CupsLibrary& cups;
  http_t* http_;
};

std::string serviceError(const CupsLibrary& cups, const char* fallback) {
  const char* text = cups.cupsLastErrorString();
  return text && *text ? std::string(text) : std::string(fallback);
}

// A job that failed after it was made: what the service said, and that nothing stays queued.
std::string cancelledMessage(const std::string& reason) {
  return "Printing failed (" + reason + "); the print job was cancelled";
}

bool failed(ipp_status_t status) { return status > IPP_STATUS_OK_EVENTS_COMPLETE; }

// The printer's IEEE 1284 device ID, empty when it reports none.
std::string printerDeviceId(const CupsLibrary& cups, http_t* http, cups_dest_t* dest) {
  const char* uri = cups.cupsGetOption("printer-uri-supported", dest->num_options, dest->options);
  std::string fallback;
  if (!uri) {
    fallback = std::string("ipp://localhost/printers/") + dest->name;
    uri = fallback.c_str();
  }
  ipp_t* request = cups.ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                    "printer-device-id");
  ipp_t* response = cups.cupsDoRequest(http, request, "/");  // frees the request
  std::string id;
  if (response) {
    if (ipp_attribute_t* a = cups.ippFindAttribute(response, "printer-device-id", IPP_TAG_ZERO)) {
      if (const char* s = cups.ippGetString(a, 0, nullptr)) id = s;
    }
    cups.ippDelete(response);
  }
  return id;
}

// Cancels a job that must not stay queued. A fresh connection: the one of the failed job may be
// in the middle of a request.
void cancelJob(const CupsLibrary& cups, cups_dest_t* dest, int job) {
  http_t* http = cups.httpConnect2(cups.cupsServer(), cups.ippPort(), nullptr, AF_UNSPEC,
                                   cups.cupsEncryption(), 1, 30000, nullptr);
  cups.cupsCancelDestJob(http ? http : CUPS_HTTP_DEFAULT, dest, job);
  if (http) cups.httpClose(http);
}

// Owns what one print job holds.
struct JobResources {
  const CupsLibrary& cups;
  cups_dest_t* dest = nullptr;
  cups_dinfo_t* info = nullptr;
  ~JobResources() {
    if (info) cups.cupsFreeDestInfo(info);
    if (dest) cups.cupsFreeDests(1, dest);
  }
};

}  // namespace

bool DeviceIdTakesPcl(const std::string& deviceId) {
  for (const std::string& set : commandSets(deviceId))
    if (set.rfind("PCL", 0) == 0 && set != "PCLXL" && set != "PCL XL") return true;
  return false;
}

std::string ChoosePclFormat(const std::vector<std::string>& formats, const std::string& deviceId) {
  auto listed = [&](const char* format) {
    return std::any_of(formats.begin(), formats.end(),
                       [&](const std::string& f) { return upper(f) == upper(format); });
  };
  if (listed(kPclFormat)) return kPclFormat;
  if (listed(kRawFormat) && (DeviceIdTakesPcl(deviceId) || commandSets(deviceId).empty()))
    return kRawFormat;
  return {};
}

std::string NoPclMessage(const std::string& queue) {
  return "The printer " + queue +
         " does not take PCL; Windows print mode prints the page image instead";
}

bool PrintPclToCups(Drawing& drawing, const std::string& destination, const std::string& title) {
  Host& host = drawing.host();
  BusyCursor busy(host);
  CupsLibrary cups;
  std::string missing;
  if (!cups.load(missing)) {
    host.message("The printing service cannot be reached (" + missing + ")", "Print");
    return false;
  }
  http_t* http = CUPS_HTTP_DEFAULT;
  JobResources job{cups};
  job.dest =
      cups.cupsGetNamedDest(http, destination.empty() ? nullptr : destination.c_str(), nullptr);
  if (!job.dest) {
    const ipp_status_t status = cups.cupsLastError();
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL)
      host.message(serviceError(cups, "The printing service does not answer"), "Print");
    else if (destination.empty())
      host.message("No default printer", "Print");
    else
      host.message("No printer named " + destination, "Print");
    return false;
  }
  const std::string queue = job.dest->name;

  // The document format from what the queue says it takes.
  job.info = cups.cupsCopyDestInfo(http, job.dest);
  if (!job.info) {
    host.message(serviceError(cups, "The printer could not be asked what it takes"), "Print");
    return false;
  }
  std::vector<std::string> formats;
  if (ipp_attribute_t* a =
          cups.cupsFindDestSupported(http, job.dest, job.info, "document-format")) {
    for (int i = 0; i < cups.ippGetCount(a); ++i)
      if (const char* f = cups.ippGetString(a, i, nullptr)) formats.emplace_back(f);
  }
  const std::string format = ChoosePclFormat(formats, printerDeviceId(cups, http, job.dest));
  if (format.empty()) {
    host.message(NoPclMessage(queue), "Print");
    return false;
  }

  int id = 0;
  if (failed(cups.cupsCreateDestJob(http, job.dest, job.info, &id, title.c_str(), 0, nullptr)) ||
      id <= 0) {
    host.message(serviceError(cups, "The print job could not be created"), "Print");
    if (id > 0) cancelJob(cups, job.dest, id);
    return false;
  }
  // From here on every failure cancels the job, so that nothing is left in the queue.
  if (cups.cupsStartDestDocument(http, job.dest, job.info, id, title.c_str(), format.c_str(), 0,
                                 nullptr, 1) != HTTP_STATUS_CONTINUE) {
    host.message(cancelledMessage(serviceError(cups, "the document could not be started")),
                 "Print");
    cancelJob(cups, job.dest, id);
    return false;
  }
  CupsDocumentSink sink(cups, http);
  const bool sent = drawing.WritePcl(sink);
  // A request the server stopped reading is not finished (libcups can spin on it for ever): the
  // broken connection is dropped (cupsSetServer closes it) and the job cancelled on a new one.
  if (!sent) cups.cupsSetServer(nullptr);
  const ipp_status_t status =
      sent ? cups.cupsFinishDestDocument(http, job.dest, job.info) : IPP_STATUS_ERROR_INTERNAL;
  if (!sent || failed(status)) {
    host.message(cancelledMessage(sent ? serviceError(cups, "the printer did not take the document")
                                       : "the printing service stopped taking the document"),
                 "Print");
    cancelJob(cups, job.dest, id);
    return false;
  }
  return true;
}

}  // namespace plotane
