// An edit with its label above it. Key-up handlers see only keys whose press
// this edit received, so that a message box closed by the press of Enter does
// not reopen on its release. A click on the edit runs OnClick (the about page's
// links).
#pragma once

#include <QLabel>
#include <QLineEdit>

#include <functional>

class TLabeledEdit : public QLineEdit {
public:
    explicit TLabeledEdit(QWidget* parent = nullptr);

    QLabel* EditLabel() const { return label_; }
    void SetLabelCaption(const QString& caption);
    // Places the edit and its label (above the edit, 3 pixels apart).
    void SetBounds(const QRect& bounds);
    void SetText(const QString& text) { setText(text); }
    QString Text() const { return text(); }

    std::function<void(int key)> OnKeyUp;
    std::function<void()> OnClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* label_;
    int pressed_key_ = 0;
};
