// Text tables (one line per index, one 14-character field per column, optional name lines) and
// WKS spreadsheet files (fixed header records, then LABEL and NUMBER cell records).

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "shell/base/Bytes.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "worksheet/Worksheet.h"

namespace plotane {

namespace {

constexpr const char* kFileErr = "File ERR";
constexpr const char* kTxtOpenError = "File error";
constexpr const char* kNotEnoughNumbers = "Not enough numbers in a line ";
constexpr const char* kInputError = "Error in input data";
constexpr const char* kTooManyLines = "Too many lines: index above 32767";
constexpr std::size_t kTableDescription = 97;
constexpr std::size_t kHeaderLineLength = 92;
constexpr std::size_t kExaminedLength = 87;
constexpr std::size_t kMaxWksBody = 2048;
constexpr std::size_t kWksLabelLength = 74;
// A full worksheet as WKS: 510 columns of 32768 numbers of 17 bytes, with room for labels.
constexpr std::size_t kWksReadLimit = std::size_t(320) << 20;

std::string tableDescription(const std::string& fileName) {
  return cut("from file " + fileName, kTableDescription);
}

bool isBlankChar(unsigned char ch) { return ch <= ' '; }

// A name line starts (after blanks, points and minus signs) with something that cannot begin a
// number. On success `name` holds the series name it gives.
bool nameLine(const std::string& fullLine, std::string& name) {
  std::string line = cut(fullLine, kExaminedLength);
  if (line.empty()) return false;
  std::size_t p = 0;
  while (p < line.size()) {
    unsigned char ch = (unsigned char)line[p];
    if (!isBlankChar(ch) && ch != '.' && ch != '-') break;
    ++p;
  }
  if (p == line.size()) p = line.size() - 1;
  unsigned char ch = (unsigned char)line[p];
  if ((ch >= '0' && ch <= '9') || ch == '.' || ch == '-' || isBlankChar(ch)) return false;
  if (ch == '?' || ch == '*' || ch == '&') ++p;
  while (p < line.size() && line[p] == ' ') ++p;
  std::size_t e = p;
  while (e < line.size() && line[e] != ' ') ++e;
  name = line.substr(p, e - p);
  return true;
}

int countFields(const std::string& line) {
  int n = 0;
  bool inField = false;
  for (char ch : line) {
    if (ch == ' ') {
      inField = false;
    } else if (!inField) {
      inField = true;
      ++n;
    }
  }
  return n;
}

void record(ByteWriter& w, uint16_t opcode, std::initializer_list<uint8_t> body) {
  w.u16(opcode);
  w.u16(uint16_t(body.size()));
  for (uint8_t b : body) w.u8(b);
}

// The fixed records every written WKS file starts with (632 bytes).
void writeWksHeader(ByteWriter& w) {
  record(w, 0x00, {0x04, 0x04});  // BOF
  record(w, 0x02, {0xFF});        // CALCMODE
  record(w, 0x05, {0x00});        // SYNC
  record(w, 0x04, {0x00});        // SPLIT
  record(w, 0x07, {0x00, 0x00, 0x00, 0x00, 0x7F, 0x00, 0x09, 0x00, 0x08, 0x00, 0x14,
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x04, 0x00, 0x04, 0x00, 0x48, 0x00, 0x00});        // WINDOW1
  record(w, 0x27, {0x00});                                                        // SETUP
  record(w, 0x24, {0x00});                                                        // PROTEC
  record(w, 0x25, {0x00});                                                        // FOOTER
  record(w, 0x26, {0x00});                                                        // HEADER
  record(w, 0x28, {0x00, 0x00, 0x50, 0x00, 0x42, 0x00, 0x02, 0x00, 0x02, 0x00});  // MARGINS
  record(w, 0x29, {0x27});                                                        // LABELFMT
  // TABLE: 00, then six empty ranges; QRANGE: six empty ranges, then 00.
  w.u16(0x18);
  w.u16(25);
  w.u8(0);
  for (int i = 0; i < 6; ++i) w.raw("\xFF\xFF\x00\x00", 4);
  w.u16(0x19);
  w.u16(25);
  for (int i = 0; i < 6; ++i) w.raw("\xFF\xFF\x00\x00", 4);
  w.u8(0);
  record(w, 0x1B, {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00});        // SRANGE
  record(w, 0x1D, {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF});  // KRANGE
  record(w, 0x23, {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF});  // KRANGE2
  // GRAPH
  std::array<uint8_t, 437> graph{};
  for (int i = 0; i < 26; ++i) graph[std::size_t(4 * i)] = graph[std::size_t(4 * i + 1)] = 0xFF;
  for (std::size_t i = 107; i <= 112; ++i) graph[i] = 0x03;
  for (std::size_t at : {126, 134, 143, 151}) {
    graph[at] = 0xE0;
    graph[at + 1] = 0x37;
  }
  graph[433] = 0x01;
  graph[434] = 0x02;
  graph[435] = 0x05;
  graph[436] = 0x05;
  w.u16(0x2D);
  w.u16(uint16_t(graph.size()));
  w.raw(graph.data(), graph.size());
}

}  // namespace

void Worksheet::StartReadTxt(const std::string& fileName) {
  PendingFileName = fileName;
  AskColumn("Leftmost column for TXT block read:", 3);
}

void Worksheet::StartWriteTxt(const std::string& fileName, bool headers) {
  PendingFileName = fileName;
  AskRange("Range of columns to save:", headers ? 4 : 5);
}

void Worksheet::clearAndDispose(int c) {
  if (!inUse(c)) return;
  ClearColumn(c);
  store.DISPOSESERIES(columns_[c]);
}

void Worksheet::newTableColumn(int c, const std::string& description, const std::string& name) {
  store.NEWSERIES(columns_[c], false, description);
  if (inUse(c) && !name.empty()) columns_[c].nameBlock->path = cut(name, kPathLength);
}

// ---- TXT ----

void Worksheet::WriteTxtTable(const std::string& fileName, bool headers, int c1, int c2) {
  BusyCursor busy(host);
  store.StoreError = false;
  int first = std::max(c1, 0), last = std::min(c2, MaxColumn);
  std::vector<int> used;
  for (int c = first; c <= last; ++c)
    if (inUse(c)) used.push_back(c);

  std::string text;
  if (headers)
    for (int c : used) text += cut("*    " + columnName(c), kHeaderLineLength) + "\r\n";
  std::string blankField(14, ' ');
  for (int i = UseLow(); i <= UseHigh(); ++i) {
    for (int c : used) {
      const Series& s = columns_[c];
      if (s.hasData() && i >= s.lowest() && i <= s.highestIndex()) {
        text += ' ';
        text += FormatSci(13, double(peek(s, i)));
      } else {
        text += blankField;
      }
    }
    text += "\r\n";
  }
  std::string error;
  if (!writeWholeFile(fileName, std::vector<uint8_t>(text.begin(), text.end()), error,
                      host.writeFaults())) {
    store.STOREMSG(kFileErr);
    store.StoreError = true;
  } else {
    for (int c = first; c <= last; ++c)
      if (inUse(c)) columns_[c].modified = false;
  }
  RefreshColumnList();
}

void Worksheet::ReadTxtTable(const std::string& fileName, int c1) {
  store.StoreError = false;
  // Read line by line: only one line is held at a time, whatever the size of the file.
  const std::string resolved = resolveFileName(fileName);
  LineReader in;
  std::string error;
  if (!validColumn(c1) || !in.open(resolved, error)) {
    store.STOREMSG(kTxtOpenError);
    store.StoreError = true;
    return;
  }
  BusyCursor busy(host);
  const std::string description = tableDescription(fileName);
  const int room = ColumnCount - c1;

  // Name lines, one column each; names for columns past the last are dropped.
  std::string line;
  bool have = in.next(line);
  std::size_t nameLines = 0;
  int n = 0;
  std::string name;
  while (have && nameLine(line, name)) {
    if (n < room) {
      clearAndDispose(c1 + n);
      newTableColumn(c1 + n, description, name);
      ++n;
    }
    ++nameLines;
    have = in.next(line);
  }
  if (nameLines == 0) {
    n = have ? std::min(countFields(line), room) : 0;
    for (int k = 0; k < n; ++k) {
      clearAndDispose(c1 + k);
      newTableColumn(c1 + k, description, {});
    }
  }
  RefreshColumnList();

  int i = UseLow() - 1;
  const char* failure = nullptr;
  for (; have && !failure; have = in.next(line)) {
    if (i >= 32767) {
      failure = kTooManyLines;
      break;
    }
    ++i;
    const char* p = line.data();
    const char* const end = p + line.size();
    for (int k = 0; k < n; ++k) {
      while (p < end && (*p == ' ' || *p == '\t')) ++p;
      if (p >= end) {
        failure = kNotEnoughNumbers;
        break;
      }
      const char* e = p;
      while (e < end && *e != ' ' && *e != '\t') ++e;
      double value;
      if (!ConvertReal(std::string_view(p, std::size_t(e - p)), value)) {
        failure = kInputError;
        break;
      }
      store.PUTVAL(columns_[c1 + k], i, value);
      p = e;
    }
  }
  if (failure) {
    store.STOREMSG(failure);
    store.StoreError = true;
  } else if (in.failed()) {
    IOFAIL(host, resolved, in.error());
    store.StoreError = true;
  } else {
    SetUseLimits(UseLow(), i);
    for (int k = 0; k < n; ++k) columns_[c1 + k].modified = false;
  }
  for (int k = 0; k < n; ++k) ShowColumn(c1 + k);
  RefreshColumnList();
}

int Worksheet::TxtColumnsToReplace(const std::string& fileName, int c1) const {
  LineReader in;
  std::string error;
  if (!validColumn(c1) || !in.open(resolveFileName(fileName), error)) return 0;
  // The name lines, one column each; without them the first line's fields count.
  int nameLines = 0;
  std::string line, name;
  bool more = in.next(line);
  while (more && nameLine(line, name)) {
    ++nameLines;
    more = in.next(line);
  }
  int n = nameLines > 0 ? nameLines : more ? countFields(line) : 0;
  return std::min(n, ColumnCount - c1);
}

// ---- WKS ----

std::vector<uint8_t> Worksheet::WksImage() {
  ByteWriter w;
  writeWksHeader(w);
  int minLow = 32766;
  for (int c = 0; c < ColumnCount; ++c)
    if (inUse(c) && columns_[c].hasData()) minLow = std::min(minLow, columns_[c].lowest());
  for (int c = 0; c < ColumnCount; ++c) {
    if (!inUse(c)) continue;
    const Series& s = columns_[c];
    std::string text(1, '\'');
    text += cut(s.nameBlock->path, kPathLength);
    if (s.nameBlock->path != kNoName) {
      w.u16(15);
      w.u16(uint16_t(text.size() + 6));
      w.u8(0xFF);
      w.u16(uint16_t(c));
      w.u16(0);
      w.raw(text.data(), text.size());
      w.u8(0);
    }
    if (!s.hasData()) continue;
    for (int i = s.lowest(); i <= s.highestIndex(); ++i) {
      long row = long(i) - minLow + 1;
      if (row > 0xFFFF) break;  // beyond the spreadsheet's rows
      w.u16(14);
      w.u16(13);
      w.u8(0xFF);
      w.u16(uint16_t(c));
      w.u16(uint16_t(row));
      w.f64(double(peek(s, i)));
    }
  }
  w.u16(1);
  return std::move(w.bytes());
}

void Worksheet::WriteWks(const std::string& fileName) {
  BusyCursor busy(host);
  store.StoreError = false;
  std::string error;
  if (!writeWholeFile(fileName, WksImage(), error, host.writeFaults())) {
    store.STOREMSG(kFileErr);
    store.StoreError = true;
  } else {
    for (int c = 0; c < ColumnCount; ++c) columns_[c].modified = false;
  }
  RefreshColumnList();
}

void Worksheet::ReadWks(const std::string& fileName) {
  store.StoreError = false;
  std::string resolved = resolveFileName(fileName);
  std::vector<uint8_t> data;
  std::string error;
  if (!readWholeFile(resolved, data, error, kWksReadLimit)) {
    IOFAIL(host, resolved, error.empty() ? "cannot open file" : error);
    store.StoreError = true;
    return;
  }
  BusyCursor busy(host);
  for (int c = 0; c < ColumnCount; ++c) clearAndDispose(c);

  const std::string description = tableDescription(fileName);
  std::array<bool, ColumnCount> gotValue{};
  ByteReader r(data);
  while (!r.atEnd()) {
    if (r.remaining() < 2) {
      IOFAIL(host, resolved, "record cut short at the end of the file");
      store.StoreError = true;
      break;
    }
    uint16_t opcode = r.u16();
    if (opcode == 1) break;
    uint16_t length = r.u16();
    const uint8_t* body = r.take(length);
    if (!body) {
      IOFAIL(host, resolved, "record runs past the end of the file");
      store.StoreError = true;
      break;
    }
    if (opcode < 13 || opcode > 16 || length > kMaxWksBody || length < 5) continue;
    int c = getU16(body + 1);
    int index = getU16(body + 3) + 1;
    if (c > MaxColumn || index > 32767) continue;

    bool isLabel = opcode == 15;
    double value = 0;
    if (opcode == 13) {
      if (length < 7) continue;
      value = getI16(body + 5);
    } else if (!isLabel) {
      if (length < 13) continue;
      value = getF64(body + 5);
      // Only numbers a single can hold become values.
      if (!std::isfinite(value) || std::fabs(value) > double(FLT_MAX)) continue;
    }
    if (!inUse(c)) newTableColumn(c, description, {});
    Series& s = columns_[c];
    if (isLabel) {
      if (s.nameBlock->path != kNoName) continue;
      std::string text;
      for (std::size_t k = 6; k < length && body[k] != 0 && text.size() < kWksLabelLength; ++k)
        text += char(body[k]);
      std::replace(text.begin(), text.end(), ' ', '_');
      if (!text.empty()) s.nameBlock->path = text;
    } else {
      store.PUTVAL(s, index, value);
      gotValue[std::size_t(c)] = true;
    }
  }
  for (int c = 0; c < ColumnCount; ++c) {
    if (!inUse(c)) continue;
    if (!gotValue[std::size_t(c)])
      store.DISPOSESERIES(columns_[c]);
    else
      columns_[c].modified = false;
  }
  ShowAllColumns();
  RefreshColumnList();
}

}  // namespace plotane
