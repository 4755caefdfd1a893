// Writes the seed corpora of the fuzz targets into fuzz/seeds/<target>/ (run from the
// repository's top folder): small files of every kind made by the program itself from a script
// that exercises the store, the worksheet, the graph and the drawing. The bundled demo's files
// are added to the corpora by hand.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "FuzzData.h"
#include "FuzzSupport.h"
#include "shell/AppContext.h"

namespace fs = std::filesystem;
using namespace plotane;

namespace {

// Self-contained scripts: they need only the table the script target provides.
const char* const kScripts[] = {
    "WWCREATE(S);\n"
    "WWMKDSDIR(.R);\n"
    "WWMKDSDIR(.R.RAW);\n"
    "WWUSELIMS(0, 6);\n"
    "WWFILEREADTXT(D, A);\n"
    "WWCOLNAME(A, .R.RAW.T, 'time', 's');\n"
    "WWCOLNAME(B, .R.RAW.UP, 'rising', '');\n"
    "WWCOLNAME(C, .R.DOWN, 'falling', 'per second');\n"
    "@BINCALC(D, B, +, C);\n"
    "@BINCALC(E, B, /, 2);\n"
    "@LN(F, B);\n"
    "@CUMULATE(G, C);\n"
    "WWCOLSAVE(A..C);\n"
    "WWSETDSDIR(.R);\n"
    "@LOAD(H, .R.RAW.UP);\n"
    "WWFILEWRITEHTXT(OUT, A..D);\n"
    "END\n",

    "DWSETLINEW(1);\n"
    "DWMAAF(1, 1);  DWMBAF(3, 4);  DWDRAWLINE;  DWDRAWARROW;  DWDRAWRECT;\n"
    "DWMAAF(2, 5);  DWMARF(0.1, -0.2);  @DRAWPOINT(SC);  @DRAWCIRCLE;\n"
    "@ARCSTART;  DWMBRF(0.3, 0.1);  @ARCFIN;\n"
    "DWSETFONT(5);  DWSETANGLE(30);  @T('a'^G'b'^R'c');\n"
    "DWFILESAVE(P);\n"
    "WWUSELIMS(0, 6);\n"
    "WWFILEREADTXT(D, A);\n"
    "GWCURVENEWDEF(B, A, 0, 6);  @CURVLINE(1, LINE, 2);\n"
    "GWCURVENEWDEF(C, A, 0, 6);  @CURVPTS(2, PSC, 2);\n"
    "GWFILESAVE(G);\n"
    "GWSETUPDRAWGRAPH;\n"
    "DWDRAWGRAPH;\n"
    "GWFILELOAD(G);\n"
    "DWFILEOPEN(P);\n"
    "END\n",
};

bool copyInto(const std::string& file, const fs::path& dir, const std::string& as) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  fs::copy_file(file, dir / as, fs::copy_options::overwrite_existing, ec);
  if (ec) std::fprintf(stderr, "make_seeds: %s: %s\n", file.c_str(), ec.message().c_str());
  return !ec;
}

class LoudHost : public fuzz::QuietHost {
 public:
  void message(const std::string& text, const std::string& = {}) override {
    std::fprintf(stderr, "  message: %s\n", text.c_str());
  }
};

}  // namespace

int main() {
  const fs::path seeds = fs::absolute("fuzz/seeds");
  fuzz::WorkFolder::enter();
  if (!fuzz::writeInput(fuzz::kTableName, reinterpret_cast<const uint8_t*>(fuzz::kTable),
                        std::char_traits<char>::length(fuzz::kTable)))
    return 1;
  LoudHost host;
  int n = 0;
  bool ok = true;
  for (const char* script : kScripts) {
    AppContext ctx(host);
    ctx.printToFile = "PRINT.OUT";
    ctx.runner.setText(script);
    ctx.runner.RESET();
    ctx.runner.RUN();
    if (ctx.runner.ScriptError) {
      std::fprintf(stderr, "make_seeds: script %d stopped at %zu\n", n, ctx.runner.position());
      ok = false;
    }
    const std::string name = "script" + std::to_string(++n) + ".ebt";
    fuzz::writeInput(name, reinterpret_cast<const uint8_t*>(script),
                     std::char_traits<char>::length(script));
    ok &= copyInto(name, seeds / "ebt", name);
    if (n == 1) {
      ctx.worksheet.WriteWks("W.WKS");
      // A table without its name lines as well as the one with them.
      ctx.worksheet.WriteTxtTable("PLAIN.TXT", false, 0, 2);
    }
    ctx.closeProgram();
  }

  ok &= copyInto("S.DSF", seeds / "dsf", "store.dsf");
  ok &= copyInto(fuzz::kTableName, seeds / "txt", "named.txt");
  ok &= copyInto("OUT.TXT", seeds / "txt", "written.txt");
  ok &= copyInto("PLAIN.TXT", seeds / "txt", "plain.txt");
  ok &= copyInto("W.WKS", seeds / "wks", "sheet.wks");
  ok &= copyInto("G.GRD", seeds / "grd", "curves.grd");
  ok &= copyInto("P.GRL", seeds / "grl", "graph.grl");
  return ok ? 0 : 1;
}
