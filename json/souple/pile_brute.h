#pragma once

// Internal to the lenient reader: a stack of trivially copyable items that
// grows with realloc, so that a large block grows in place (the system may
// remap its pages) instead of being copied into fresh memory each time.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>

namespace tq::json_souple {

template <typename T>
class TPileBrute {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    TPileBrute() = default;
    TPileBrute(const TPileBrute&) = delete;
    TPileBrute& operator=(const TPileBrute&) = delete;
    ~TPileBrute() { std::free(m_elements); }

    std::size_t size() const noexcept { return m_taille; }
    T* data() noexcept { return m_elements; }
    const T* data() const noexcept { return m_elements; }
    T& operator[](std::size_t i) noexcept { return m_elements[i]; }

    void push_back(const T& element)
    {
        if (m_taille == m_capacite) {
            Agrandir();
        }
        ::new (static_cast<void*>(m_elements + m_taille)) T(element);
        ++m_taille;
    }

    // Only ever shrinks: the reader pops a finished container's items.
    void reduire(std::size_t taille) noexcept { m_taille = taille; }

    // Room for `n` more items, written directly and then counted with
    // avancer().
    T* reserver(std::size_t n)
    {
        while (m_capacite - m_taille < n) {
            Agrandir();
        }
        return m_elements + m_taille;
    }
    void avancer(std::size_t n) noexcept { m_taille += n; }

private:
    void Agrandir()
    {
        const std::size_t capacite = m_capacite == 0 ? 64 : m_capacite * 2;
        void* nouveau = std::realloc(m_elements, capacite * sizeof(T));
        if (nouveau == nullptr) {
            throw std::bad_alloc();
        }
        m_elements = static_cast<T*>(nouveau);
        m_capacite = capacite;
    }

    T* m_elements = nullptr;
    std::size_t m_taille = 0;
    std::size_t m_capacite = 0;
};

} // namespace tq::json_souple
