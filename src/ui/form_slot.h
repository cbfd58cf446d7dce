#pragma once

#include "ui/events.h"
#include "ui/form.h"

#include <QCoreApplication>
#include <functional>
#include <memory>

namespace kestrix::ui {

// The one program-wide instance of a window: loaded on first use, shown, hidden and unloaded.
// Touching the window through the slot loads it, hidden, when it is not loaded.
template <typename Window>
class FormSlot {
public:
    using Factory = std::function<std::unique_ptr<Window>()>;

    explicit FormSlot(Factory make) : make_(std::move(make)) {}
    FormSlot(const FormSlot&) = delete;
    FormSlot& operator=(const FormSlot&) = delete;
    ~FormSlot() = default;

    [[nodiscard]] bool isLoaded() const { return window_ != nullptr; }

    // Creates the window with its design values; does nothing when it is loaded.
    Window& load() {
        if (!window_) {
            window_ = make_();
            QObject::connect(window_.get(), &Form::unloadRequested, window_.get(),
                             [this] { unload(); });
            if constexpr (requires { window_->Form_Load(); }) {
                window_->Form_Load();
            }
        }
        return *window_;
    }
    Window* operator->() { return &load(); }
    Window& operator*() { return load(); }

    void show() { load().setVisible(true); }
    void hide() { load().setVisible(false); }

    // Runs the window's Form_Unload, then destroys it. Does nothing when it is not loaded.
    // The window may be unloading from inside one of its own handlers, so it is destroyed
    // once control returns to the event loop; when its unload ends the program, it stays
    // hidden until the program goes, since a handler that yielded may still be on the stack.
    void unload() {
        if (!window_ || unloading_ || programEnding()) {
            return;
        }
        unloading_ = true;
        window_->Form_Unload();
        window_->hide();
        unloading_ = false;
        if (!programEnding()) {
            window_.release()->deleteLater();
        }
    }

private:
    Factory make_;
    std::unique_ptr<Window> window_;
    bool unloading_ = false;
};

}  // namespace kestrix::ui
