// The undo and redo stacks of whole-model snapshots, bounded by steps and by bytes. A state
// carries an id, so "is this the saved state?" survives undo, redo and steps that fell off
// the bottom of the history.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>

inline constexpr std::size_t kUndoDefaultMaxBytes = std::size_t{256} << 20;
inline constexpr std::size_t kUndoDefaultMaxSteps = 100;

template <class TState>
class TUndoHistory {
  public:
    explicit TUndoHistory(std::size_t maxBytes = kUndoDefaultMaxBytes,
                          std::size_t maxSteps = kUndoDefaultMaxSteps)
        : maxBytes_(maxBytes), maxSteps_(maxSteps) {}

    // A command named `name` changed the model; `before` (of `bytes` bytes) is the state it
    // left. Whatever could be redone is gone. A state larger than the whole budget is not
    // kept, and neither is anything older, which could only be reached through it.
    void Record(std::string name, TState before, std::size_t bytes) {
        redo_.clear();
        const std::uint64_t beforeId = currentId_;
        currentId_ = nextId_++;
        if (bytes > maxBytes_ || maxSteps_ == 0) {
            undo_.clear();
            Recount();
            return;
        }
        undo_.push_back({std::move(name), std::move(before), bytes, beforeId});
        Recount();
        Trim();
    }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The name of the command Undo would take back (Redo would run again); empty for none.
    const std::string& UndoName() const { return undo_.empty() ? empty_ : undo_.back().name; }
    const std::string& RedoName() const { return redo_.empty() ? empty_ : redo_.back().name; }

    // Takes the state before the last command and keeps `current` for Redo. Only when
    // CanUndo().
    TState Undo(TState current, std::size_t currentBytes) {
        return Step(undo_, redo_, std::move(current), currentBytes);
    }
    // Takes the state after the last undone command and keeps `current` for Undo. Only when
    // CanRedo().
    TState Redo(TState current, std::size_t currentBytes) {
        return Step(redo_, undo_, std::move(current), currentBytes);
    }

    // Another model, or none: nothing to undo, and what is there counts as saved.
    void Clear() {
        undo_.clear();
        redo_.clear();
        currentId_ = nextId_++;
        savedId_ = currentId_;
        Recount();
    }
    void MarkSaved() { savedId_ = currentId_; }
    bool AtSavedState() const { return currentId_ == savedId_; }

    std::size_t Bytes() const { return bytes_; }
    std::size_t UndoSteps() const { return undo_.size(); }
    std::size_t RedoSteps() const { return redo_.size(); }

  private:
    struct TEntry {
        std::string name;
        TState state;
        std::size_t bytes = 0;
        std::uint64_t id = 0;
    };

    TState Step(std::deque<TEntry>& from, std::deque<TEntry>& to, TState current,
                std::size_t currentBytes) {
        TEntry entry = std::move(from.back());
        from.pop_back();
        to.push_back({entry.name, std::move(current), currentBytes, currentId_});
        currentId_ = entry.id;
        Recount();
        Trim();
        return std::move(entry.state);
    }

    void Recount() {
        bytes_ = 0;
        for (const auto* stack : {&undo_, &redo_})
            for (const TEntry& e : *stack)
                bytes_ += e.bytes;
    }

    // The oldest undo steps go first, then the farthest redo steps: the ones nearest the
    // current state are the ones a user reaches for.
    void Trim() {
        while (!undo_.empty() && (bytes_ > maxBytes_ || undo_.size() > maxSteps_)) {
            bytes_ -= undo_.front().bytes;
            undo_.pop_front();
        }
        while (!redo_.empty() && (bytes_ > maxBytes_ || redo_.size() > maxSteps_)) {
            bytes_ -= redo_.front().bytes;
            redo_.pop_front();
        }
    }

    std::deque<TEntry> undo_;
    std::deque<TEntry> redo_;
    std::size_t maxBytes_;
    std::size_t maxSteps_;
    std::size_t bytes_ = 0;
    std::uint64_t nextId_ = 1;
    std::uint64_t currentId_ = 0;
    std::uint64_t savedId_ = 0;
    static inline const std::string empty_;
};
