#include "batch/ui/EbtHighlighter.h"

#include "batch/BatchWindow.h"

namespace plotane {

EbtHighlighter::EbtHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
  command_.setForeground(QColor(0, 0, 160));
  command_.setFontWeight(QFont::Bold);
  quoted_.setForeground(QColor(160, 0, 0));
  comment_.setForeground(QColor(0, 120, 0));
  comment_.setFontItalic(true);
  parameter_.setForeground(QColor(140, 0, 140));
}

void EbtHighlighter::highlightBlock(const QString& text) {
  int previous = previousBlockState();
  ScriptLineState state = previous < 0 ? ScriptLineState::Plain : ScriptLineState(previous);
  QByteArray line = text.toLatin1();
  for (const ScriptSpan& s :
       classifyScriptLine(std::string_view(line.constData(), std::size_t(line.size())), state)) {
    const QTextCharFormat* f = &command_;
    switch (s.kind) {
      case ScriptSpanKind::Command:
        f = &command_;
        break;
      case ScriptSpanKind::Quoted:
        f = &quoted_;
        break;
      case ScriptSpanKind::Comment:
        f = &comment_;
        break;
      case ScriptSpanKind::Parameter:
        f = &parameter_;
        break;
    }
    setFormat(int(s.start), int(s.length), *f);
  }
  setCurrentBlockState(int(state));
}

}  // namespace plotane
