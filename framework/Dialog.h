#pragma once
// Dialog base: a dialog made from a template and run modally in a message
// loop of its own, in which the application's pre-filter sees every message
// first. Reactions are member functions reached through a dispatch table of
// (message or notification, control id) rows; see Routes below.

#include "DataExchange.h"

#include <windows.h>

#include <span>

namespace fw {

// The help command the modal loop makes of the F1 key (the dialog gets it as
// a WM_COMMAND from no control).
constexpr int idHelpCommand = 0xE146;

// Tells the user of an exception that reached a window's message handling,
// which then goes on. No exception may cross the dialog procedure or the
// modal loop: Windows' own frames lie between them.
void ReportException(HWND owner) noexcept;

class Dialog {
public:
    Dialog(int templateId, HWND parent = nullptr) : templateId(templateId), parent(parent) {}
    // The window must be gone before the derived part of the object is:
    // a dialog class with an OnDestroy calls Destroy() in its own destructor.
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, disables its owner and runs the dialog's own loop
    // until EndDialog. Returns the result given to EndDialog (-1 when the
    // dialog could not be created).
    INT_PTR DoModal();
    // Creates the dialog without running a loop (benchmarks and tests drive it).
    bool Create(HWND owner = nullptr);
    void Destroy();

    void EndDialog(INT_PTR result);
    // Handles the messages that wait, as this dialog's loop would: for a
    // long piece of work that must leave the window alive.
    void ProcessWaitingMessages();
    // Whether the dialog is being ended or destroyed: what it does while it
    // closes (focus moves, for one) is no user's action.
    bool Ending() const { return ended; }
    // Whether the members and the controls are being exchanged: the change
    // notifications that writing causes are no user's edits, and neither
    // are the focus moves of a reading that tells of a text over its limit.
    bool Exchanging() const { return exchanging; }
    // Reads the controls into the members (true) or writes the members into
    // the controls (false). Reading stops at a text over its limit, and
    // says so unless told to stay quiet (a window that closes); it is quiet
    // too while the window initialises and inside another exchange.
    bool UpdateData(bool reading = true, bool quiet = false);
    // Runs write as an exchange: what it does to the controls (a selection,
    // a focus move) is no user's action.
    template <class Write>
    void WriteControls(Write&& write) {
        const bool was = exchanging;
        exchanging = true;
        struct Restore {
            bool& flag;
            bool value;
            ~Restore() { flag = value; }
        } restore{exchanging, was};
        write();
    }

    HWND Handle() const { return hwnd; }
    HWND Item(int id) const { return GetDlgItem(hwnd, id); }

    // Whether the dialog takes the rows of its dispatch table marked idle
    // only: not while it exchanges or ends; a dialog that does a long job
    // while it pumps messages says so too.
    virtual bool Idle() const { return !ended && !exchanging; }

protected:
    virtual BOOL OnInitDialog() {
        UpdateData(false);
        return TRUE;
    }
    virtual void DoDataExchange(DataExchange&) {}
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnDestroy() {}
    // The derived class's dispatch table; see Routes.
    virtual bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // One message of the loop: the pre-filter, F1, the dialog keys.
    void Process(MSG& msg);
    HWND OwnerForNewDialog() const;

    int templateId;
    HWND parent;
    HWND hwnd = nullptr;
    bool ended = false;
    bool exchanging = false;
    bool initialising = false;
    INT_PTR endResult = IDCANCEL;
};

// A dispatch table row of a dialog class T. Build rows with the helpers
//   Route<T>::Command(BN_CLICKED, IDC_X, &T::OnX)      void OnX()       from a control
//   Route<T>::Menu(ID_X, &T::OnX)                      void OnX()       a menu item or accelerator
//   Route<T>::Notify(TCN_SELCHANGE, IDC_TAB, &T::OnY)  LRESULT OnY(NMHDR*)
//   Route<T>::Message(WM_PAINT, &T::OnPaint)           bool OnPaint(WPARAM, LPARAM, LRESULT&)
//   Route<T>::Timer(TimerX, &T::OnX)                   void OnX()       a one-shot timer, stopped first
// A message handler returns false to leave the message to default processing.
// A row marked .IdleOnly() is a reaction to the user: while the dialog is not
// Idle() its message is taken and nothing is called.
template <class T>
struct Route {
    enum class Kind { Command, Menu, Notify, Message, Timer };
    using CommandHandler = void (T::*)();
    using NotifyHandler = LRESULT (T::*)(NMHDR*);
    using MessageHandler = bool (T::*)(WPARAM, LPARAM, LRESULT&);

    Kind kind;
    UINT code;  // notification code, or the message for Kind::Message
    int id;     // control id; 0 for messages
    CommandHandler command = nullptr;
    NotifyHandler notify = nullptr;
    MessageHandler message = nullptr;
    bool idleOnly = false;

    constexpr Route IdleOnly() const {
        Route row = *this;
        row.idleOnly = true;
        return row;
    }

    static constexpr Route Command(UINT code, int id, CommandHandler f) { return {Kind::Command, code, id, f}; }
    static constexpr Route Menu(int id, CommandHandler f) { return {Kind::Menu, 0, id, f}; }
    static constexpr Route Notify(UINT code, int id, NotifyHandler f) { return {Kind::Notify, code, id, nullptr, f}; }
    static constexpr Route Message(UINT msg, MessageHandler f) { return {Kind::Message, msg, 0, nullptr, nullptr, f}; }
    static constexpr Route Timer(UINT_PTR timer, CommandHandler f) {
        return {Kind::Timer, WM_TIMER, static_cast<int>(timer), f};
    }
};

// Whether a row's message matches it.
template <class T>
bool Matches(const Route<T>& r, UINT msg, WPARAM wp, LPARAM lp) {
    using Kind = typename Route<T>::Kind;
    switch (r.kind) {
        case Kind::Command:
        case Kind::Menu: {
            if (msg != WM_COMMAND || LOWORD(wp) != r.id) return false;
            // A control names itself in lp; a menu item (0) or an
            // accelerator (1) does not.
            const bool fromControl = lp != 0;
            return r.kind == Kind::Command ? fromControl && HIWORD(wp) == r.code : !fromControl && HIWORD(wp) <= 1;
        }
        case Kind::Notify: {
            if (msg != WM_NOTIFY) return false;
            auto* header = reinterpret_cast<NMHDR*>(lp);
            return header->code == r.code && static_cast<int>(header->idFrom) == r.id;
        }
        case Kind::Message:
            return msg == r.code;
        case Kind::Timer:
            return msg == WM_TIMER && wp == static_cast<WPARAM>(r.id);
    }
    return false;
}

// Finds the row for a message and calls its handler. Returns whether the
// message was handled.
template <class T>
bool RouteMessage(T* self, std::span<const Route<T>> routes, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    using Kind = typename Route<T>::Kind;
    for (const Route<T>& r : routes) {
        if (!Matches(r, msg, wp, lp)) continue;
        if (r.kind == Kind::Timer) KillTimer(self->Handle(), wp);
        result = 0;
        if (r.idleOnly && !self->Idle()) return true;
        switch (r.kind) {
            case Kind::Notify:
                result = (self->*r.notify)(reinterpret_cast<NMHDR*>(lp));
                return true;
            case Kind::Message:
                return (self->*r.message)(wp, lp, result);
            default:
                (self->*r.command)();
                return true;
        }
    }
    return false;
}

}  // namespace fw
