#pragma once
// Colours a script's command words, quoted texts, comments and %-parameters.

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace plotane {

class EbtHighlighter : public QSyntaxHighlighter {
  Q_OBJECT
 public:
  explicit EbtHighlighter(QTextDocument* document);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  QTextCharFormat command_, quoted_, comment_, parameter_;
};

}  // namespace plotane
