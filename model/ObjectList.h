#pragma once
// Owning lists behind the editor's Add / Items / Last / Delete / Count.

#include <memory>
#include <utility>
#include <vector>

#include "rom/Errors.h"

template <typename T>
class TObjectList {
public:
    T& Add(std::unique_ptr<T> item) {
        items_.push_back(std::move(item));
        return *items_.back();
    }
    template <typename... Args>
    T& Emplace(Args&&... args) {
        return Add(std::make_unique<T>(std::forward<Args>(args)...));
    }
    T& Items(int index) const {
        if (index < 0 || index >= Count()) throw ListIndexError(index);
        return *items_[static_cast<size_t>(index)];
    }
    T& operator[](int index) const { return Items(index); }
    T& Last() const { return Items(Count() - 1); }
    void Delete(int index) {
        if (index < 0 || index >= Count()) throw ListIndexError(index);
        items_.erase(items_.begin() + index);
    }
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<std::unique_ptr<T>> items_;
};
