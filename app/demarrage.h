#pragma once

#include <memory>

namespace tq {

class IInterfaceUtilisateur;
class TApplication;

// The one line written on standard error when the window cannot open.
inline constexpr const char* MessageSansAffichage =
    "Aucun affichage graphique n'est disponible : la fenêtre de TQ Statistique ne peut pas s'ouvrir.";

// Creates the program's application object. When the toolkit can open no
// graphical display, writes MessageSansAffichage on standard error and ends
// the process with exit code 1, where Qt would print its own diagnostics and
// abort.
std::unique_ptr<TApplication> CreerApplication(int& argc, char** argv, IInterfaceUtilisateur& interfaceUtilisateur);

} // namespace tq
