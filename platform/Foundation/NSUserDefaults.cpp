#include "Foundation/NSUserDefaults.h"

#include <pthread.h>
#define _LGPL_SOURCE // the read side inlined
#include <urcu/urcu-memb.h>
#ifdef __SANITIZE_THREAD__
#include <sanitizer/tsan_interface.h>
// ThreadSanitizer cannot read liburcu's lock-free words (no C++ atomics): it
// gets the library's own calls, which it does not look into.
#undef urcu_memb_read_lock
#undef urcu_memb_read_unlock
extern "C" void urcu_memb_read_lock();
extern "C" void urcu_memb_read_unlock();
#endif

#include "Foundation/DefaultsDomain.h"
#include "Foundation/DeviceRoot.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/PropertyList.h"
#include "ObjectModel/ClassBuilder.h"

// liburcu is loaded with the program: its thread storage is static.
extern "C" {
extern thread_local struct urcu_reader urcu_memb_reader __attribute__((tls_model("initial-exec")));
}

// Both domains, and an open-addressing table of the effective value of each
// key (persistent over registered) with its truth precomputed for boolForKey.
struct NSUserDefaults::Snapshot {
    struct Slot {
        unsigned long hash = 0;
        const std::string* key = nullptr;
        NSObject* value = nullptr;
        bool truth = false;
        // A string object that was looked up as this key, retained: the same
        // object is then known by its address before its bytes.
        mutable std::atomic<NSString*> object{nullptr};
    };

    Snapshot(NSDictionary::Storage persistentDomain, NSDictionary::Storage registeredDomain)
        : persistent(std::move(persistentDomain)), registered(std::move(registeredDomain)) {
        while (capacity < 2 * (persistent.size() + registered.size()))
            capacity *= 2;
        table = std::make_unique<Slot[]>(capacity);
        for (const auto* domain : {&registered, &persistent})
            for (const auto& [key, value] : *domain)
                insert(key, value);
    }

    ~Snapshot() {
        for (std::size_t at = 0; at < capacity; ++at)
            if (NSString* object = table[at].object.load(std::memory_order_relaxed))
                object->release();
    }

    // The same key object at its home slot is the common case: the probe
    // stays out of line so that the read needs few registers.
    const Slot& find(const NSString* key) const {
        const Slot& home = table[key->utf8Hash() & (capacity - 1)];
        if (home.object.load(std::memory_order_relaxed) == key) [[likely]]
            return home;
        return probe(key);
    }

    NSDictionary::Storage persistent;
    NSDictionary::Storage registered;

  private:
    [[gnu::noinline]] const Slot& probe(const NSString* key) const {
        for (std::size_t at = key->utf8Hash() & (capacity - 1);; at = (at + 1) & (capacity - 1)) {
            const Slot& slot = table[at];
            if (slot.object.load(std::memory_order_relaxed) == key) return slot;
            if (!slot.key) return slot;
            if (slot.hash == key->utf8Hash() && *slot.key == key->utf8()) {
                learn(slot, key);
                return slot;
            }
        }
    }

    static bool truthOf(NSObject* value) {
        if (const NSNumber* number = as<NSNumber>(value)) return number->boolValue();
        if (const NSString* text = as<NSString>(value)) return text->boolValue();
        return false;
    }

    static void learn(const Slot& slot, const NSString* key) {
        auto* object = const_cast<NSString*>(key);
        NSString* none = nullptr;
        if (slot.object.load(std::memory_order_relaxed)) return;
        object->retain();
        if (!slot.object.compare_exchange_strong(none, object, std::memory_order_relaxed))
            object->release();
    }

    void insert(const std::string& key, NSObject* value) {
        unsigned long hash = std::hash<std::string>{}(key);
        for (std::size_t at = hash & (capacity - 1);; at = (at + 1) & (capacity - 1)) {
            Slot& slot = table[at];
            if (!slot.key || *slot.key == key) {
                slot.hash = hash;
                slot.key = &key;
                slot.value = value;
                slot.truth = truthOf(value);
                return;
            }
        }
    }

    std::size_t capacity = 8;
    std::unique_ptr<Slot[]> table;
};

namespace {

// Read-side sections of userspace RCU (the membarrier flavour): a reader
// only marks its own thread, without a fence; a writer that has published a
// new snapshot waits for a grace period before it frees the old one. A thread
// is registered at its first read and unregistered when it ends.
class ReadSection {
  public:
    ReadSection() {
        if (!urcu_memb_reader.registered) [[unlikely]]
            enroll();
        urcu_memb_read_lock();
    }
    ~ReadSection() { urcu_memb_read_unlock(); }
    ReadSection(const ReadSection&) = delete;
    ReadSection& operator=(const ReadSection&) = delete;

  private:
    [[gnu::noinline]] static void enroll() {
        static const pthread_key_t leaving = [] {
            pthread_key_t key;
            pthread_key_create(&key, [](void*) { urcu_memb_unregister_thread(); });
            return key;
        }();
        urcu_memb_register_thread();
        pthread_setspecific(leaving, &urcu_memb_reader); // not null: the destructor runs
    }
};

// ThreadSanitizer cannot see a grace period: a reader's end of its section is
// told to it as a release of the snapshot, and the writer's wait as its acquire.
void readerLeaves([[maybe_unused]] const NSUserDefaults::Snapshot* snapshot) {
#ifdef __SANITIZE_THREAD__
    __tsan_release(const_cast<NSUserDefaults::Snapshot*>(snapshot));
#endif
}

void readersLeft([[maybe_unused]] const NSUserDefaults::Snapshot* snapshot) {
#ifdef __SANITIZE_THREAD__
    __tsan_acquire(const_cast<NSUserDefaults::Snapshot*>(snapshot));
#endif
}

// Set once the shared store exists: a reset before then has nothing to drop.
std::atomic<bool> sharedStoreMade{false};

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
        NSUserDefaults* made = make<NSUserDefaults>(&NSObject::init).leak();
        sharedStoreMade.store(true, std::memory_order_release);
        return made;
    }();
    return store;
}

NSUserDefaults* NSUserDefaults::standardUserDefaultsImp(Class) {
    NSUserDefaults* store = sharedStore();
    if (!store->_loaded.load(std::memory_order_acquire)) store->load();
    return store;
}

void NSUserDefaults::resetStandardUserDefaultsImp(Class) {
    if (!sharedStoreMade.load(std::memory_order_acquire)) return; // made later, on the current root
    NSUserDefaults* store = sharedStore();
    std::unique_ptr<DefaultsDomain> old; // its watcher stops outside the lock
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
    urcu_memb_synchronize_rcu();
    readersLeft(old);
    delete old;
}

template <class Read> auto NSUserDefaults::read(Read body) const {
    ReadSection section;
    const Snapshot* snapshot = _snapshot.load(std::memory_order_acquire);
    auto result = body(snapshot);
    readerLeaves(snapshot);
    return result;
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
    return read(
        [key](const Snapshot* snapshot) { return Ref<NSObject>(snapshot->find(key).value); });
}

bool NSUserDefaults::boolForKeyImp(const NSString* key) {
    if (!key) return false;
    return read([key](const Snapshot* snapshot) { return snapshot->find(key).truth; });
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
