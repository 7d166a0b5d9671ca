#include "Foundation/NSUserDefaults.h"

#include <pthread.h>
#include <thread>
#include <vector>

#include "Foundation/DefaultsDomain.h"
#include "Foundation/DeviceRoot.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/PropertyList.h"
#include "ObjectModel/ClassBuilder.h"

// Both domains, and an open-addressing table of the effective value of each
// key (persistent over registered) with its truth precomputed for boolForKey.
struct NSUserDefaults::Snapshot {
    struct Slot {
        unsigned long hash = 0;
        const std::string* key = nullptr;
        NSObject* value = nullptr;
        bool truth = false;
    };

    Snapshot(NSDictionary::Storage persistentDomain, NSDictionary::Storage registeredDomain)
        : persistent(std::move(persistentDomain)), registered(std::move(registeredDomain)) {
        std::size_t capacity = 8;
        while (capacity < 2 * (persistent.size() + registered.size()))
            capacity *= 2;
        table.resize(capacity);
        mask = capacity - 1;
        for (const auto* domain : {&registered, &persistent})
            for (const auto& [key, value] : *domain)
                insert(key, value);
    }

    const Slot* find(const NSString* key) const {
        for (std::size_t at = key->utf8Hash() & mask;; at = (at + 1) & mask) {
            const Slot& slot = table[at];
            if (!slot.key || (slot.hash == key->utf8Hash() && *slot.key == key->utf8()))
                return &slot;
        }
    }

    NSDictionary::Storage persistent;
    NSDictionary::Storage registered;
    std::vector<Slot> table;
    std::size_t mask = 0;

  private:
    static bool truthOf(NSObject* value) {
        if (const NSNumber* number = as<NSNumber>(value)) return number->boolValue();
        if (const NSString* text = as<NSString>(value)) return text->boolValue();
        return false;
    }

    void insert(const std::string& key, NSObject* value) {
        unsigned long hash = std::hash<std::string>{}(key);
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = table[at];
            if (!slot.key || *slot.key == key) {
                slot = {hash, &key, value, truthOf(value)};
                return;
            }
        }
    }
};

namespace {

// Grace periods for readers. Each thread owns a slot (padded to a cache line)
// whose sequence is odd while the thread reads a snapshot. A writer that has
// published a new snapshot waits, for every slot that was odd, until it
// changes; then no reader can still hold the old one. Threads beyond the
// slots share one counter of readers inside.
struct alignas(64) ReaderSlot {
    std::atomic<std::uint64_t> sequence{0};
    std::atomic<bool> taken{false};
};

ReaderSlot readerSlots[128];
std::atomic<std::uint64_t> overflowReaders{0};

class ReaderSections {
  public:
    template <class Read>
    static auto read(const std::atomic<const NSUserDefaults::Snapshot*>& current, Read body) {
        Slot* slot = threadSlot();
        std::atomic<std::uint64_t>& mark = slot ? slot->sequence : overflowReaders;
        std::uint64_t entered = slot ? mark.load(std::memory_order_relaxed) + 1 : 0;
        if (slot)
            mark.store(entered, std::memory_order_relaxed);
        else
            mark.fetch_add(1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_seq_cst);
        auto result = body(current.load(std::memory_order_acquire));
        if (slot)
            mark.store(entered + 1, std::memory_order_release);
        else
            mark.fetch_sub(1, std::memory_order_release);
        return result;
    }

    // Called after the new snapshot is published (a sequentially consistent exchange).
    static void awaitReaders() {
        std::atomic_thread_fence(std::memory_order_seq_cst);
        for (Slot& slot : readerSlots) {
            std::uint64_t seen = slot.sequence.load(std::memory_order_acquire);
            while ((seen & 1) && slot.sequence.load(std::memory_order_acquire) == seen)
                std::this_thread::yield();
        }
        while (overflowReaders.load(std::memory_order_acquire) != 0)
            std::this_thread::yield();
    }

  private:
    using Slot = ReaderSlot;

    struct Claim {
        Slot* slot = nullptr;
        Claim() {
            for (Slot& candidate : readerSlots)
                if (!candidate.taken.exchange(true, std::memory_order_acq_rel)) {
                    slot = &candidate;
                    return;
                }
        }
        ~Claim() {
            if (slot) slot->taken.store(false, std::memory_order_release);
        }
    };

    static Slot* threadSlot() {
        static thread_local Claim claim;
        return claim.slot;
    }
};

std::string defaultsPath(const std::string& suite) {
    const std::string& domain = suite.empty() ? mainBundleIdentifier() : suite;
    return devicePath("/var/mobile/Library/Preferences/" + domain + ".plist");
}

} // namespace

NSUserDefaults* NSUserDefaults::sharedStore() {
    static NSUserDefaults* const store = [] {
        // A fork while the watcher holds the store's lock would leave the child stuck.
        pthread_atfork([] { sharedStore()->_writer.lock(); },
                       [] { sharedStore()->_writer.unlock(); },
                       [] { sharedStore()->_writer.unlock(); });
        return make<NSUserDefaults>(&NSObject::init).leak();
    }();
    return store;
}

NSUserDefaults* NSUserDefaults::standardUserDefaultsImp(Class) {
    NSUserDefaults* store = sharedStore();
    if (!store->_loaded.load(std::memory_order_acquire)) store->load();
    return store;
}

void NSUserDefaults::resetStandardUserDefaultsImp(Class) {
    NSUserDefaults* store = sharedStore(); // without loading the file of a root that may be stale
    std::unique_ptr<DefaultsDomain> old;   // its watcher stops outside the lock
    std::lock_guard lock(store->_writer);
    old = std::move(store->_domain);
    store->publish({}, {});
    store->_changed.clear();
    store->_loaded.store(false, std::memory_order_release);
}

NSObject* NSUserDefaults::initImp() {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    load();
    return this;
}

NSUserDefaults* NSUserDefaults::initWithSuiteNameImp(NSString* name) {
    if (!name || name->length() == 0 || name->utf8().find('/') != std::string::npos ||
        name->utf8() == "." || name->utf8() == "..")
        return nullptr;
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _suite = name->utf8();
    load();
    return this;
}

NSUserDefaults::~NSUserDefaults() {
    delete _snapshot.load();
}

void NSUserDefaults::load() {
    std::lock_guard lock(_writer);
    if (_loaded.load(std::memory_order_relaxed)) return;
    _path = defaultsPath(_suite);
    _domain = std::make_unique<DefaultsDomain>(
        _path, [this](const DefaultsDomain* domain) { reloadFromDisk(domain); });
    publish(_domain->load(), {});
    _changed.clear();
    _loaded.store(true, std::memory_order_release);
}

// Another process wrote the file: its entries, with this process's pending
// changes over them.
void NSUserDefaults::reloadFromDisk(const DefaultsDomain* domain) {
    std::lock_guard lock(_writer);
    if (_domain.get() != domain) return;
    std::optional<NSDictionary::Storage> entries = _domain->reloadIfChanged();
    if (!entries) return;
    const Snapshot* current = _snapshot.load();
    for (const std::string& key : _changed) {
        auto found = current->persistent.find(key);
        if (found == current->persistent.end())
            entries->erase(key);
        else
            entries->insert_or_assign(key, found->second);
    }
    publish(std::move(*entries), current->registered);
}

void NSUserDefaults::publish(NSDictionary::Storage persistent, NSDictionary::Storage registered) {
    const Snapshot* old =
        _snapshot.exchange(new Snapshot(std::move(persistent), std::move(registered)));
    if (!old) return;
    ReaderSections::awaitReaders();
    delete old;
}

void postSaveFailure(NSObject* sender, const std::string& path, const std::string& reason) {
    Ref<NSString> values[] = {NSString::string(path), NSString::string(reason)};
    NSObject* const objects[] = {values[0], values[1]};
    NSString* const keys[] = {"NSFilePath"_ns, "NSLocalizedDescription"_ns};
    NSNotificationCenter::defaultCenter()->postNotificationName(
        NSUserDefaultsSaveFailedNotification, sender,
        NSDictionary::dictionaryWithObjects(objects, keys, 2));
}

void NSUserDefaults::reportFailure(const std::string& reason) {
    NSLog("NSUserDefaults: %s"_ns, reason.c_str());
    postSaveFailure(this, _path, reason);
}

Ref<NSObject> NSUserDefaults::objectForKeyImp(const NSString* key) {
    if (!key) return nullptr;
    return ReaderSections::read(_snapshot, [key](const Snapshot* snapshot) {
        return Ref<NSObject>(snapshot->find(key)->value);
    });
}

bool NSUserDefaults::boolForKeyImp(const NSString* key) {
    if (!key) return false;
    return ReaderSections::read(
        _snapshot, [key](const Snapshot* snapshot) { return snapshot->find(key)->truth; });
}

bool NSUserDefaults::setObjectImp(NSObject* value, const NSString* key) {
    Result<Ref<NSObject>> copy = !key    ? Problem{"a nil key"}
                                 : value ? propertyListCopy(value)
                                         : Result<Ref<NSObject>>(nullptr);
    if (!copy) {
        reportFailure(std::string("not storing a value for ") +
                      (key ? key->UTF8String() : "(null)") + ": " + copy.problem());
        return false;
    }
    {
        std::lock_guard lock(_writer);
        const Snapshot* current = _snapshot.load();
        NSDictionary::Storage persistent = current->persistent;
        if (*copy)
            persistent.insert_or_assign(key->utf8(), *copy);
        else
            persistent.erase(key->utf8());
        publish(std::move(persistent), current->registered);
        _changed.insert(key->utf8());
    }
    NSNotificationCenter::defaultCenter()->postNotificationName(NSUserDefaultsDidChangeNotification,
                                                                this);
    return true;
}

void NSUserDefaults::registerDefaultsImp(const NSDictionary* defaults) {
    if (!defaults) return;
    std::lock_guard lock(_writer);
    const Snapshot* current = _snapshot.load();
    NSDictionary::Storage registered = current->registered;
    for (const auto& [key, value] : defaults->entries())
        registered.insert_or_assign(key, value);
    publish(current->persistent, std::move(registered));
}

bool NSUserDefaults::synchronizeImp() {
    std::string error;
    {
        std::lock_guard lock(_writer);
        if (_changed.empty() && _domain->readable()) return true;
        const Snapshot* current = _snapshot.load();
        DefaultsDomain::Changes changes;
        for (const std::string& key : _changed) {
            auto found = current->persistent.find(key);
            changes.emplace(key, found == current->persistent.end() ? nullptr : found->second);
        }
        bool written = false;
        Result<NSDictionary::Storage> entries = _domain->synchronize(changes, written);
        if (entries) {
            _changed.clear();
            publish(std::move(*entries), current->registered);
            return true;
        }
        if (written)
            error = "the defaults file holds the new values, but " + entries.problem() +
                    "; they are written again at the next synchronize";
        else
            error = "could not save the defaults: " + entries.problem();
    }
    reportFailure(error);
    return false;
}

bool NSUserDefaults::removeObjectForKeyImp(const NSString* key) {
    return setObject(nullptr, key);
}

Ref<NSDictionary> NSUserDefaults::persistentDomain() {
    std::lock_guard lock(_writer);
    return make<NSDictionary>(&NSDictionary::initWithStorage, _snapshot.load()->persistent);
}

OBJC_IMPLEMENT_LOADED_CLASS(NSUserDefaults)
