#pragma once
// Options > Commands at once: how many commands a real run keeps running,
// from 1 to 64, with the computer's logical processors as the suggestion.

#include "framework/Dialog.h"

#include <cstdint>

namespace runner {

class CAtOnceDlg : public fw::Dialog {
public:
    // OK writes the number chosen into commandsAtOnce; Cancel leaves it.
    explicit CAtOnceDlg(int32_t& commandsAtOnce, HWND parent = nullptr);

    // What the dialog tells of the suggestion, for a computer with that many
    // logical processors.
    static std::string Suggestion(unsigned processors);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    int32_t& commandsAtOnce;
};

}  // namespace runner
