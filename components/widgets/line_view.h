// LineView: a read-only view of a long text, one line a row. Only the lines
// in sight are drawn, so a text of a hundred thousand lines shows at once
// (a text document lays every line out first). Ctrl+A and Ctrl+C copy the
// whole text.
#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

class LineView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit LineView(QWidget* parent = nullptr);

    // The text, split at line breaks ("\n").
    void setPlainText(const QString& text);
    QString toPlainText() const;
    const QStringList& lines() const { return lines_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void updateScrollBars();

    QStringList lines_;
    int widestColumns_ = 0;  // half-width columns of the widest line
};
