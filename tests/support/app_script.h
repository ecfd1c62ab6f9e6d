// Scripted input for whole runs through WinMain: steps run from the headless peek hook, which is
// called before the message loop looks at its queue, so between two Game_Main calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Exit code WinMain returns when a step waited too long: the script then posts WM_QUIT with it.
constexpr int APP_SCRIPT_STUCK = 99;

class AppScript {
  public:
    using Check = std::function<bool()>;
    using Action = std::function<void()>;

    // Once ready() holds at a peek, act() runs and the next step becomes current. One step a
    // peek at most.
    AppScript& when(Check ready, Action act);
    AppScript& then(Action act);
    // Waits until ready() holds.
    AppScript& wait(Check ready);
    // Runs every() at each peek until done() holds; then the next step becomes current.
    AppScript& during(Check done, Action every);
    // Holds a key through `frames` frames that flip the page (menu and play frames).
    AppScript& hold(int virtual_key, int frames = 1);

    // Becomes the peek hook; the script lives on in the hook.
    void install();
    // Steps not yet run (read after WinMain has returned).
    size_t remaining() const { return steps_.size() - *next_; }

  private:
    // Virtual time a step may wait; the longest wait of the game is a few seconds.
    static constexpr uint64_t MAX_STEP_WAIT_MS = 60000;
    struct Step {
        Check ready;
        Action act;
        Action meanwhile;  // at each peek while not ready
    };
    std::vector<Step> steps_;
    std::shared_ptr<size_t> next_ = std::make_shared<size_t>(0);
};
