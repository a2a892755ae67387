#pragma once

// Internal to the lenient reader: a stack of trivially copyable items that
// grows with realloc, so that a large block grows in place (the system may
// remap its pages) instead of being copied into fresh memory each time.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>

namespace tq::json_souple {

template <typename T> class TPileBrute {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    TPileBrute() = default;
    TPileBrute(const TPileBrute&) = delete;
    TPileBrute& operator=(const TPileBrute&) = delete;
    ~TPileBrute() { std::free(elements_); }

    std::size_t size() const noexcept { return taille_; }
    T* data() noexcept { return elements_; }
    const T* data() const noexcept { return elements_; }
    T& operator[](std::size_t i) noexcept { return elements_[i]; }

    void push_back(const T& element)
    {
        if (taille_ == capacite_)
            Agrandir();
        ::new (static_cast<void*>(elements_ + taille_)) T(element);
        ++taille_;
    }

    // Only ever shrinks: the reader pops a finished container's items.
    void reduire(std::size_t taille) noexcept { taille_ = taille; }

    // Room for `n` more items, written directly and then counted with
    // avancer().
    T* reserver(std::size_t n)
    {
        while (capacite_ - taille_ < n)
            Agrandir();
        return elements_ + taille_;
    }
    void avancer(std::size_t n) noexcept { taille_ += n; }

private:
    void Agrandir()
    {
        const std::size_t capacite = capacite_ == 0 ? 64 : capacite_ * 2;
        void* nouveau = std::realloc(elements_, capacite * sizeof(T));
        if (nouveau == nullptr)
            throw std::bad_alloc();
        elements_ = static_cast<T*>(nouveau);
        capacite_ = capacite;
    }

    T* elements_ = nullptr;
    std::size_t taille_ = 0;
    std::size_t capacite_ = 0;
};

} // namespace tq::json_souple
