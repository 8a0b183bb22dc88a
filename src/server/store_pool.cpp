#include "server/store_pool.h"

StoreLease StorePool::lease()
{
    std::unique_ptr<RunStore> store;
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            store = std::move(idle_.back());
            idle_.pop_back();
        }
    }
    if (!store) {
        std::string error;
        store = openRunStore(database_, error);
        if (!store) throw RunStoreError(error);
    }
    return StoreLease(store.release(), [this](RunStore* returned) {
        const std::lock_guard lock(mutex_);
        idle_.emplace_back(returned);
    });
}
