#pragma once
// An up-down control attached to a read-only edit: two arrow buttons (and the Up and Down keys
// in the edit) step a position between a minimum and a maximum without wrapping, and the edit
// shows the position. The user cannot type into the edit.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tabulix::design {

class UpDown : public QWidget {
public:
    // `buddy` is the edit that shows the position; it is made read-only.
    UpDown(QLineEdit& buddy, int minimum, int maximum, QWidget* parent = nullptr);

    int Position() const { return position_; }
    // Held to the range.
    void SetPosition(int position);
    int Min() const { return minimum_; }
    int Max() const { return maximum_; }

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit& buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
    int position_;
};

}  // namespace tabulix::design
