#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace stratocue::ui {

// Holds one window object through its lifetime: created hidden with its design-time
// contents on first use, destroyed on request, and created again, hidden and fresh, on the
// next use. A destroyed window is kept until the slot destroys another one, so code that
// was still running inside it (a click handler that ended the program) stays memory-safe.
template <class Form>
class FormSlot {
public:
    using Hook = std::function<void(Form&)>;

    // `onCreated` wires a new window's events (and lets views attach); `onDestroying` runs
    // the window's close handler before it goes.
    void setHooks(Hook onCreated, Hook onDestroying) {
        onCreated_ = std::move(onCreated);
        onDestroying_ = std::move(onDestroying);
    }
    // Views that must know when a window comes or goes.
    void addCreatedObserver(Hook observer) { createdObservers_.push_back(std::move(observer)); }
    void addDestroyedObserver(Hook observer) { destroyedObservers_.push_back(std::move(observer)); }

    [[nodiscard]] bool exists() const { return form_ != nullptr; }

    // The window, created hidden when it does not exist.
    Form& get() {
        if (!form_) {
            form_ = std::make_unique<Form>();
            ++generation_;
            Form& created = *form_;
            if (onCreated_) onCreated_(created);
            for (const auto& observer : std::vector<Hook>(createdObservers_)) observer(created);
        }
        return *form_;
    }
    Form& operator()() { return get(); }

    // Destroys the window, running its close handler first; nothing when it does not exist.
    void destroy() {
        if (!form_ || destroying_) return;
        destroying_ = true;
        Form& leaving = *form_;
        if (onDestroying_) onDestroying_(leaving);
        for (const auto& observer : std::vector<Hook>(destroyedObservers_)) observer(leaving);
        retired_ = std::move(form_);
        destroying_ = false;
    }

    // How many windows this slot has created so far.
    [[nodiscard]] int generation() const { return generation_; }

private:
    std::unique_ptr<Form> form_;
    std::unique_ptr<Form> retired_;
    Hook onCreated_;
    Hook onDestroying_;
    std::vector<Hook> createdObservers_;
    std::vector<Hook> destroyedObservers_;
    bool destroying_ = false;
    int generation_ = 0;
};

}  // namespace stratocue::ui
