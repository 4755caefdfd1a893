// Walks over the DSDir tree of the attached DSF and the operations applied to matching entries.

#include <unordered_set>

#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/LogModel.h"
#include "shell/base/Messages.h"
#include "store/DsfLayout.h"
#include "store/PathPattern.h"
#include "store/Store.h"

namespace plotane {

using namespace dsf;

namespace {
// A path of at most 87 characters has at most 43 levels; deeper trees are damaged files.
constexpr int kMaxDepth = 44;
const DsDirEntry kRootEntry{1, "", kDsDirKind};
}  // namespace

bool Store::storeWalk(const std::string& pattern, bool singleEntry, const WalkOp& op,
                      bool offerEveryDir) {
  if (!storeGuard()) return false;
  PathPattern pat;
  if (!parsePathPattern(pattern, currentPath_, pat)) {
    StoreError = true;
    STOREMSG("Name syntax err");
    return false;
  }
  bool stop = false;
  if (pat.namesRoot) {
    op(WalkHit{kRootEntry, 0, "", "", DsDirEntry{kNoRecord, "", kDsDirKind}}, stop);
    return true;
  }
  if (singleEntry) {
    bool wild = pat.rootedAnywhere || pat.endsWithAny;
    for (const std::string& c : pat.components)
      if (c.find_first_of("*?") != std::string::npos) wild = true;
    if (wild) {
      StoreError = true;
      return false;
    }
  }
  BusyCursor busy(host);

  struct Walker {
    Store& store;
    const PathPattern& pat;
    const WalkOp& op;
    bool offerEveryDir;
    bool& stop;
    std::vector<DsDirEntry> levels;
    std::unordered_set<uint16_t> visited;
    int n;

    Walker(Store& s, const PathPattern& p, const WalkOp& o, bool every, bool& st)
        : store(s),
          pat(p),
          op(o),
          offerEveryDir(every),
          stop(st),
          levels(kMaxDepth + 1),
          n(int(p.components.size())) {}

    std::string pathTo(int d) const {
      std::string p;
      for (int i = 1; i <= d; ++i) p += "." + levels[i].name;
      return p;
    }
    void apply(int d) {
      op(WalkHit{levels[d], d, pathTo(d), pathTo(d - 1), d > 1 ? levels[d - 1] : kRootEntry}, stop);
    }
    // Iterates one DSDir, calling f(entry) for each used slot. A record met twice in one walk
    // means a looping chain or a shared DSDir: a damaged file.
    void iterate(uint16_t first, int d, const std::function<void(const DsDirEntry&)>& f) {
      if (d > kMaxDepth) store.ioFail("DSDir tree too deep");
      if (first == 0) store.ioFail("DSDir entry points at the file header");
      uint16_t r = first;
      uint8_t rec[kRecordSize];
      while (r != 0) {
        if (!visited.insert(r).second) store.ioFail("DSDir chain loops");
        store.readRecord(r, rec);
        for (int i = 0; i < kEntriesPerRecord; ++i) {
          DsDirEntry e;
          store.readEntry(rec, i, e);
          if (e.record == kNoRecord) continue;
          f(e);
          if (stop) return;
        }
        r = link(rec);
      }
    }
    void plain(uint16_t dir, int d) {
      iterate(dir, d, [&](const DsDirEntry& e) {
        if (!matchComponent(pat.components[d - 1], e.name)) return;
        levels[d] = e;
        if (e.kind == kDsDirKind && n > d)
          plain(e.record, d + 1);
        else if (d == n)
          apply(d);
      });
    }
    bool anywhere(uint16_t dir, int d) {
      bool any = false;
      iterate(dir, d, [&](const DsDirEntry& e) {
        any = true;
        levels[d] = e;
        if (e.kind == kDsDirKind) {
          bool held = anywhere(e.record, d + 1);
          if (stop) return;
          levels[d] = e;
          if (!held || offerEveryDir) offer(d);
        } else {
          offer(d);
        }
      });
      return any;
    }
    bool matches(int d) const {
      if (pat.all) return true;
      if (pat.rootedAnywhere && !pat.endsWithAny) {
        // From the last component backwards against the entry and its parents.
        int level = d;
        for (int k = n - 1; k >= 0; --k) {
          if (pat.components[k] == "&") return true;
          if (level < 1) return false;
          if (!matchComponent(pat.components[k], levels[level].name)) return false;
          --level;
        }
        return true;
      }
      // From the first component forwards against the levels from the root.
      for (int k = 0; k < n; ++k) {
        if (pat.components[k] == "&") return true;
        int level = k + 1;
        if (level > d) return false;
        if (!matchComponent(pat.components[k], levels[level].name)) return false;
      }
      return true;
    }
    void offer(int d) {
      if (matches(d)) apply(d);
    }
  };

  Walker w(*this, pat, op, offerEveryDir, stop);
  if (!pat.rootedAnywhere && !pat.endsWithAny)
    w.plain(1, 1);
  else
    w.anywhere(1, 1);
  return true;
}

DsDirEntry Store::findEntry(const std::string& path, std::string& foundPath) {
  StoreError = false;
  DsDirEntry result;
  result.record = kNoRecord;
  foundPath.clear();
  storeWalk(path, true, [&](const WalkHit& hit, bool& stop) {
    result = hit.entry;
    foundPath = hit.path;
    stop = true;
  });
  return result;
}

bool Store::findPath(uint16_t record, uint8_t kind, std::string& path) {
  bool found = false;
  storeWalk(
      "&", false,
      [&](const WalkHit& hit, bool& stop) {
        if (hit.entry.record == record && hit.entry.kind == kind) {
          path = hit.path;
          found = true;
          stop = true;
        }
      },
      true);
  if (!found) StoreError = true;
  return found;
}

bool Store::FINDPATH(uint16_t record, uint8_t kind, std::string& path) {
  StoreError = false;
  bool found = false;
  guardIo([&] { found = findPath(record, kind, path); });
  return found && !StoreError;
}

void Store::LOADPATTERN(const std::string& pattern, int firstColumn, std::span<Series> columns,
                        const ColumnLoaded& refresh) {
  StoreError = false;
  std::size_t next = firstColumn > 0 ? std::size_t(firstColumn) : 0;
  auto columnOf = [&](const Series* s) -> int {
    if (columns.empty() || s < columns.data() || s >= columns.data() + columns.size()) return -1;
    return int(s - columns.data());
  };
  guardIo([&] {
    storeWalk(pattern, false, [&](const WalkHit& hit, bool& stop) {
      if (hit.entry.kind != kSeriesKind) return;
      if (StoreError) {
        stop = true;
        return;
      }
      for (Series* p = head_; p; p = p->link) {
        if (p->nameBlock && p->nameBlock->path == hit.path) {
          readSeriesInto(*p, hit.entry.record, hit.path);
          int col = columnOf(p);
          if (col >= 0 && refresh) refresh(col);
          return;
        }
      }
      std::size_t col = next;
      while (col < columns.size() && columns[col].owner_ == this) ++col;
      if (col >= columns.size()) {
        StoreError = true;
        STOREMSG("LOAD ovflow");
        stop = true;
        return;
      }
      Series& s = columns[col];
      NEWSERIES(s, false, "");
      try {
        readSeriesInto(s, hit.entry.record, hit.path);
      } catch (const IoFault&) {
        DISPOSESERIES(s);  // no half-loaded column is left behind
        throw;
      }
      if (refresh) refresh(int(col));
      next = col + 1;
    });
  });
}

void Store::REPLACESERIES(const std::string& pattern) {
  StoreError = false;
  guardIo([&] {
    storeWalk(pattern, false, [&](const WalkHit& hit, bool& stop) {
      if (hit.entry.kind != kSeriesKind) return;
      Series* s = nullptr;
      for (Series* p = head_; p && !s; p = p->link)
        if (p->nameBlock && sameTextIgnoringCase(p->nameBlock->path, hit.path)) s = p;
      if (!s) return;
      if (!checkAppend(uint32_t(s->blocks.size()))) {
        stop = true;
        return;
      }
      uint8_t headerImage[kRecordSize], dataImage[kRecordSize];
      readRecord(hit.entry.record, headerImage);
      uint16_t first = link(headerImage);
      if (first == 0) ioFail("stored series without a data record");
      readRecord(first, dataImage);
      // The handle keeps its own stored record and file identity: only the file changes.
      writeSeries(*s, hit.entry.record, headerImage, dataImage);
    });
  });
}

void Store::ERASESERIES(const std::string& pattern) {
  StoreError = false;
  guardIo([&] {
    storeWalk(pattern, false, [&](const WalkHit& hit, bool&) {
      if (hit.entry.kind != kSeriesKind) return;
      freeSlot(hit.parent, hit.entry.name, kSeriesKind);
    });
  });
}

void Store::DELETEDSDIR(const std::string& pattern) {
  StoreError = false;
  guardIo([&] {
    storeWalk(pattern, false, [&](const WalkHit& hit, bool&) {
      if (hit.entry.kind != kDsDirKind) return;
      if (hit.depth == 0) {  // the root is never deleted
        StoreError = true;
        return;
      }
      if (dirIsEmpty(hit.entry.record)) {
        freeSlot(hit.parent, hit.entry.name, kDsDirKind);
      } else {
        StoreError = true;
        STOREMSG("DSDir " + hit.path + " not empty");
      }
    });
  });
}

void Store::LISTDSDIR(const std::string& pattern) {
  StoreError = false;
  guardIo([&] {
    storeWalk(pattern, false, [&](const WalkHit& hit, bool&) {
      if (hit.entry.kind == kDsDirKind)
        log.ADDLOG("(dir)" + hit.path);
      else if (hit.entry.kind == kSeriesKind)
        log.ADDLOG("     " + hit.path);
    });
  });
}

void Store::treeLines(std::vector<std::string>& out) {
  int lastLevel = 0;
  bool first = true;
  std::string prevParent;
  storeWalk("&", false, [&](const WalkHit& hit, bool&) {
    if (hit.entry.kind == kDsDirKind) {
      out.push_back(hit.path);
      lastLevel = hit.depth;
    } else if (hit.entry.kind == kSeriesKind) {
      if (first || hit.depth > lastLevel || hit.parentPath != prevParent) {
        out.push_back(hit.parentPath);
        lastLevel = hit.depth;
      }
    } else {
      return;
    }
    first = false;
    prevParent = hit.parentPath;
  });
}

void Store::TREELIST() {
  StoreError = false;
  std::vector<std::string> lines;
  guardIo([&] { treeLines(lines); });
  for (const std::string& l : lines) log.ADDLOG(l);
}

void Store::TREELISTLINES(std::vector<std::string>& out) {
  StoreError = false;
  guardIo([&] { treeLines(out); });
}

void Store::LISTSERIESPATHS(const std::string& pattern, std::vector<std::string>& out) {
  StoreError = false;
  guardIo([&] {
    storeWalk(pattern, false, [&](const WalkHit& hit, bool&) {
      if (hit.entry.kind == kSeriesKind) out.push_back(hit.path);
    });
  });
}

void Store::FULLDETAILS(const std::string& pattern) {
  StoreError = false;
  guardIo([&] {
    storeWalk(pattern, false, [&](const WalkHit& hit, bool&) {
      if (hit.entry.kind != kSeriesKind) return;
      uint8_t rec[kRecordSize];
      readRecord(hit.entry.record, rec);
      if (rec[kInfoDescription] > kDescriptionLength)
        ioFail("series description longer than its field");
      SaveStamp st = getStamp(rec + 10);
      int base = getI16(rec + 4), highest = getI16(rec + 6);
      int firstSlot = int8_t(rec[8]);
      std::string desc = getPString(rec + kInfoDescription, kDescriptionLength);
      uint16_t x = getU16(rec + kInfoXRecord);
      std::vector<std::string> lines;
      lines.push_back("Series:");
      lines.push_back(" " + hit.path);
      lines.push_back(" ");
      lines.push_back(" Last Save on " + std::to_string(int(st.year) - 1900) + "/" +
                      std::to_string(st.month) + "/" + std::to_string(st.day) + " at " +
                      std::to_string(st.hour) + ":" + std::to_string(st.minute));
      lines.push_back(" ");
      if (firstSlot < 0)
        lines.push_back(" No data present");
      else
        lines.push_back(" Indices: Lowest=" + std::to_string(base + firstSlot) +
                        "         Highest=" + std::to_string(highest));
      std::size_t bs = desc.find('\\');
      std::string line1 = bs == std::string::npos ? desc : desc.substr(0, bs);
      std::string line2 = bs == std::string::npos ? std::string() : desc.substr(bs + 1);
      lines.push_back(" ");
      lines.push_back("    " + cut(line1, 67));
      lines.push_back("    " + cut(line2, 67));
      lines.push_back(" ");
      if (x == 0) {
        lines.push_back("  No X specified");
      } else {
        std::string xp;
        if (findPath(x, kSeriesKind, xp))
          lines.push_back("  X specified as " + xp);
        else
          lines.push_back("Error in X specification");
      }
      lines.push_back(" ");
      lines.push_back(" ");
      for (const std::string& l : lines) log.ADDLOG(l);
    });
  });
}

}  // namespace plotane
