#include "detail/record_ledger.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#include "detail/spin_lock.hpp"

namespace orrery::convenience::detail {
namespace {

// One step this thread has begun in a record's own operations and not yet ended: a copy or
// a move under construction (its seal enters it) or an assignment to a record (its seal
// ends it). A new record needs none: its constructor's body enters it.
// A record's fields may make or assign records of their own (a hook holding one by value),
// hence a stack; plain storage, so that it needs no destructor at thread exit.
struct Step {
    LedgerLink* link;
    LedgerLink* movedFrom;  // its name is changing until the step ends
    bool assignment;
};

struct Steps {
    static constexpr int room = 16;
    Step step[room];
    int depth = 0;  // may pass room: deeper records are not tracked, deeper assignments not marked
    bool deferNext = false;  // a factory enters the next new record itself
    LedgerLink* deferred = nullptr;  // that record, made and waiting
};
thread_local constinit Steps steps{};

// Takes the next step. An assignment that threw leaves its step behind (nothing runs
// when a defaulted assignment stops half-way); rather than let such steps fill the stack,
// a full stack gives up its lowest assignment step, whose record's name then stays marked
// as changing until its next assignment ends or it dies: reported unnamed, never torn.
int pushStep(Step step) {
    if (steps.depth == Steps::room) {
        Step* end = steps.step + Steps::room;
        // Steps of records that died since are surely left over; drop them first.
        Step* kept = std::remove_if(steps.step, end, [](const Step& s) { return s.assignment && !s.link; });
        if (kept == end) {
            Step* stale = std::find_if(steps.step, end, [](const Step& s) { return s.assignment; });
            if (stale != end) kept = std::copy(stale + 1, end, stale);
        }
        steps.depth = int(kept - steps.step);
    }
    const int at = steps.depth++;
    if (at < Steps::room) steps.step[at] = step;
    return at;
}

struct Ledger {
    SpinLock lock;
    LedgerLink head{&head, &head, nullptr, RecordKind::classRecord, true, false};  // oldest after it, newest before
    std::size_t count = 0;
};

Ledger& ledger() {
    // Never destroyed: records kept in globals die during static destruction.
    static auto* instance = new Ledger();
    return *instance;
}

// A seal lies inside the record its tracker begins; a step whose record does not hold the
// seal is left over from an assignment that threw before its seal was assigned.
bool holdsSeal(const Step& step, const void* seal) {
    if (!step.link) return false;
    const auto link = reinterpret_cast<std::uintptr_t>(step.link);
    const auto at = reinterpret_cast<std::uintptr_t>(seal);
    return at > link - recordSizeBound && at < link + recordSizeBound;
}

// Enters a record as the newest; the caller holds the lock.
void linkIn(Ledger& l, LedgerLink& record) noexcept {
    record.previous = l.head.previous;
    record.next = &l.head;
    l.head.previous->next = &record;
    l.head.previous = &record;
    record.entered = true;
    ++l.count;
}

const std::string& nameOf(const LedgerLink& link) {
    switch (link.kind) {
        case RecordKind::classRecord: return recordName<RecordKind::classRecord>(link);
        case RecordKind::property: return recordName<RecordKind::property>(link);
        case RecordKind::method: return recordName<RecordKind::method>(link);
        case RecordKind::constructor: return recordName<RecordKind::constructor>(link);
        case RecordKind::namespaceRecord: return recordName<RecordKind::namespaceRecord>(link);
        case RecordKind::function: return recordName<RecordKind::function>(link);
    }
    std::abort();  // every kind is listed above
}

}  // namespace

void beginRecord(LedgerLink& link, RecordKind kind, LedgerLink* movedFrom, HostClassPopulation* into,
                 const HostClassPopulation* from) noexcept {
    link.kind = kind;
    if (pushStep(Step{&link, movedFrom, false}) >= Steps::room) return;
    if (!movedFrom && !(into && from)) return;
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    if (movedFrom) movedFrom->nameChanging = true;
    if (into && from) *into = *from;
}

void completeRecord() noexcept {
    // Left over from assignments that threw: the record's name stays marked as changing
    // until its next assignment ends or it dies.
    while (steps.depth > 0 && steps.depth <= Steps::room && steps.step[steps.depth - 1].assignment) --steps.depth;
    if (steps.depth == 0) return;  // a seal made outside a record: nothing begun
    const int at = --steps.depth;
    if (at >= Steps::room) return;
    const Step step = steps.step[at];
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    if (step.movedFrom) step.movedFrom->nameChanging = false;
    linkIn(l, *step.link);
}

void enterRecord(LedgerLink& link) noexcept {
    Steps& state = steps;
    if (state.deferNext) {
        state.deferNext = false;
        state.deferred = &link;
        return;
    }
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    linkIn(l, link);
}

DeferredEntry::DeferredEntry() noexcept : state_(&steps) {
    auto& state = *static_cast<Steps*>(state_);
    state.deferNext = true;
    state.deferred = nullptr;
}

DeferredEntry::~DeferredEntry() {
    auto& state = *static_cast<Steps*>(state_);
    state.deferNext = false;
    state.deferred = nullptr;
}

bool DeferredEntry::holds(const LedgerLink& link) const noexcept {
    return static_cast<const Steps*>(state_)->deferred == &link;
}

void DeferredEntry::enter(LedgerLink& link) noexcept {
    auto& state = *static_cast<Steps*>(state_);
    if (state.deferred != &link) return;
    state.deferred = nullptr;
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    linkIn(l, link);
}

void leaveRecord(LedgerLink& link) noexcept {
    // A record whose construction failed after its tracker began it never entered.
    int top = std::min(steps.depth, Steps::room) - 1;
    while (top >= 0 && steps.step[top].assignment) --top;
    if (top >= 0 && steps.step[top].link == &link && steps.depth <= Steps::room) {
        const Step step = steps.step[top];
        steps.depth = top;
        if (step.movedFrom) {
            auto& l = ledger();
            std::lock_guard guard(l.lock);
            step.movedFrom->nameChanging = false;
        }
    } else if (link.entered) {
        // Steps left over from this record's failed assignments go with it.
        for (int i = std::min(steps.depth, Steps::room) - 1; i >= 0; --i)
            if (steps.step[i].assignment && steps.step[i].link == &link) steps.step[i].link = nullptr;
        auto& l = ledger();
        std::lock_guard guard(l.lock);
        link.previous->next = link.next;
        link.next->previous = link.previous;
        link.previous = link.next = nullptr;
        link.entered = false;
        --l.count;
    }
    delete std::exchange(link.life, nullptr);  // its identities now read it as gone
}

void beginAssignment(LedgerLink& target, LedgerLink* movedFrom, HostClassPopulation* into,
                     const HostClassPopulation* from) noexcept {
    const int at = pushStep(Step{&target, movedFrom, true});
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    if (at < Steps::room) {
        target.nameChanging = true;
        if (movedFrom) movedFrom->nameChanging = true;
    }
    if (into && from && into != from) *into = *from;
}

void completeAssignment(const void* seal) noexcept {
    while (steps.depth > 0) {
        const int at = steps.depth - 1;
        if (at >= Steps::room) {
            --steps.depth;
            return;
        }
        const Step step = steps.step[at];
        if (!step.assignment) return;  // this assignment's step was never taken
        --steps.depth;
        if (!holdsSeal(step, seal)) continue;  // left over from an assignment that threw
        auto& l = ledger();
        std::lock_guard guard(l.lock);
        step.link->nameChanging = false;
        if (step.movedFrom) step.movedFrom->nameChanging = false;
        return;
    }
}

RecordIdentity identityOf(LedgerLink& link) {
    // Throws when memory runs out: a hook that could not tell its record is gone must not
    // be made at all.
    if (!link.life) {
        auto shares = std::make_shared<char>();
        link.life = new RecordLife{std::move(shares)};
    }
    return RecordIdentity(link.life->shares);
}

SpinLock& ledgerLock() noexcept { return ledger().lock; }

void assignName(std::string& field, std::string text) {
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    field.swap(text);
}

void visitLiveRecords(LiveRecordVisitor visit, void* context) {
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    for (const LedgerLink* link = l.head.next; link != &l.head; link = link->next)
        visit(context, link->kind, link->nameChanging ? nullptr : &nameOf(*link));
}

std::size_t countLiveRecords() noexcept {
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    return l.count;
}

}  // namespace orrery::convenience::detail
