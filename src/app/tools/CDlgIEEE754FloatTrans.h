#pragma once

#include "tools/ConverterWindow.h"

class QLineEdit;
class QPushButton;

namespace korvan {
class Prompt;
}

namespace korvan::gui {

// The "IEEE754 floating point conversion" window: a single-precision float to its four
// bytes ("=>") and back ("<="); the rules and messages are the core's.
class CDlgIEEE754FloatTrans : public ConverterWindow {
    Q_OBJECT
public:
    explicit CDlgIEEE754FloatTrans(Prompt& prompt, QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* floatField() const { return float_; }
    [[nodiscard]] QLineEdit* hexField() const { return hex_; }
    [[nodiscard]] QPushButton* toBytesButton() const { return toBytes_; }
    [[nodiscard]] QPushButton* toFloatButton() const { return toFloat_; }
    // The float the window holds: the last number accepted or converted.
    [[nodiscard]] float value() const { return value_; }

private:
    // Reads the float field; a text that is not a number is refused with its message, and
    // the previous value stays (the typed text stays too, for the engineer to mend).
    void readFloatField();
    void floatToBytes();
    void bytesToFloat();

    Prompt& prompt_;
    QLineEdit* float_ = nullptr;
    QLineEdit* hex_ = nullptr;
    QPushButton* toBytes_ = nullptr;
    QPushButton* toFloat_ = nullptr;
    float value_ = 0;
};

} // namespace korvan::gui
