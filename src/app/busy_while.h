// Marks the window busy for a scope: the view must not draw or pose a model that a command
// is rebuilding.
#pragma once

class BusyWhile {
  public:
    explicit BusyWhile(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyWhile() { busy_ = false; }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

  private:
    bool& busy_;
};
