#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <random>
#else
#include <stdlib.h>
#include <sys/mount.h>
#endif

// A fresh folder for each test, removed afterwards with whatever was mounted
// in it.
class DossierTemporaire : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef _WIN32
        std::random_device hasard;
        dossier_ = std::filesystem::temp_directory_path() / ("tq-resultats-" + std::to_string(hasard()));
        ASSERT_TRUE(std::filesystem::create_directory(dossier_));
#else
        std::string modele = (std::filesystem::temp_directory_path() / "tq-resultats-XXXXXX").string();
        ASSERT_NE(mkdtemp(modele.data()), nullptr);
        dossier_ = modele;
#endif
    }

    void TearDown() override
    {
#ifndef _WIN32
        for (auto point = montages_.rbegin(); point != montages_.rend(); ++point)
            umount2(point->c_str(), MNT_DETACH);
#endif
        std::error_code erreur;
        std::filesystem::remove_all(dossier_, erreur);
    }

    // Mounts a small memory file system on `point` (created if needed);
    // false where this process may not mount.
    bool MonterTmpfs(const std::filesystem::path& point, const char* options)
    {
#ifdef _WIN32
        (void)point;
        (void)options;
        return false;
#else
        std::filesystem::create_directories(point);
        if (mount("tmpfs", point.c_str(), "tmpfs", 0, options) != 0)
            return false;
        montages_.push_back(point);
        return true;
#endif
    }

    static bool RemonterEnLectureSeule(const std::filesystem::path& point)
    {
#ifdef _WIN32
        (void)point;
        return false;
#else
        return mount(nullptr, point.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
#endif
    }

    static std::string Lire(const std::filesystem::path& chemin)
    {
        std::ifstream flux(chemin, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(flux), {});
    }

    static void Ecrire(const std::filesystem::path& chemin, const std::string& octets)
    {
        std::ofstream(chemin, std::ios::binary) << octets;
    }

    // Names in a folder: a failed save must leave no temporary file behind.
    static std::set<std::string> Noms(const std::filesystem::path& dossier)
    {
        std::set<std::string> noms;
        std::error_code erreur;
        for (const auto& entree : std::filesystem::directory_iterator(dossier, erreur))
            noms.insert(entree.path().filename().string());
        return noms;
    }

    std::filesystem::path dossier_;
    std::vector<std::filesystem::path> montages_;
};
