#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <stdlib.h>
#include <sys/mount.h>

// A fresh folder for each test, removed afterwards with whatever was mounted
// in it.
class DossierTemporaire : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string modele = (std::filesystem::temp_directory_path() / "tq-resultats-XXXXXX").string();
        ASSERT_NE(mkdtemp(modele.data()), nullptr);
        dossier_ = modele;
    }

    void TearDown() override
    {
        for (auto point = montages_.rbegin(); point != montages_.rend(); ++point)
            umount2(point->c_str(), MNT_DETACH);
        std::error_code erreur;
        std::filesystem::remove_all(dossier_, erreur);
    }

    // Mounts a small memory file system on `point` (created if needed);
    // false where this process may not mount.
    bool MonterTmpfs(const std::filesystem::path& point, const char* options)
    {
        std::filesystem::create_directories(point);
        if (mount("tmpfs", point.c_str(), "tmpfs", 0, options) != 0)
            return false;
        montages_.push_back(point);
        return true;
    }

    static bool RemonterEnLectureSeule(const std::filesystem::path& point)
    {
        return mount(nullptr, point.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
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
