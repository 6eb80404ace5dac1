#pragma once
// An Options item that is one number: its field with a spin button, a text
// on what the number means, OK and Cancel. Commands at once and Time limit
// per command are such items.

#include "framework/Dialog.h"
#include "runner/engine/RunSettings.h"

#include <cstdint>
#include <string>

namespace runner {

class CNumberDlg : public fw::Dialog {
public:
    struct Shape {
        std::string caption;  // after "Lorvan: "
        std::string label;    // the field's, with its access key
        NumberRange range;
        std::string hint;
    };
    // Shows shown (the value as it works now); OK writes the number chosen
    // into value, Cancel leaves it.
    CNumberDlg(int32_t& value, int32_t shown, Shape shape, HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    int32_t& value;
    int32_t shown;
    Shape shape;
};

}  // namespace runner
