// The callbacks that follow the saves of one kind of file, so that views can follow the program's changes.
#pragma once

#include <functional>
#include <utility>
#include <vector>

template <typename... Args>
class SaveObservers final
{
public:
    using Observer = std::function<void(Args...)>;

    /// Returns an id for `remove`.
    int add(Observer observer)
    {
        m_list.emplace_back(++m_lastId, std::move(observer));
        return m_lastId;
    }

    void remove(int id) { std::erase_if(m_list, [id](const auto &entry) { return entry.first == id; }); }

    /// Calls every observer, on a copy of the list, so that one may add or
    /// remove observers. The file is written by then: an observer that fails
    /// must not make the save look failed, nor keep the others from hearing of it.
    void notify(Args... args) const
    {
        if (m_list.empty())
            return;
        const auto observers = m_list;
        for (const auto &entry : observers) {
            try {
                entry.second(args...);
            } catch (...) {
            }
        }
    }

private:
    std::vector<std::pair<int, Observer>> m_list;
    int m_lastId = 0;
};
