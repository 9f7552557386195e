// Texts of the dialogs that follow a compression once the player is closed: the progress
// dialog, its confirmation, and the dialog that reports the end.
#pragma once

#include "i18n/language.hpp"

namespace ondrel::texts {

// The progress dialog while the closed player finishes its compression.
inline constexpr TextPair background_instruction{"Video compression in progress",
                                                 "Compression vidéo en cours"};
inline constexpr TextPair background_preparing{"Preparing...", "Préparation..."};
inline constexpr TextPair background_cancel_button{"Cancel compression", "Annuler la compression"};
inline constexpr TextPair background_footer{
    "The player is closed, the compression continues in the background. A new window will "
    "appear when it is done.",
    "Le lecteur est fermé, la compression continue en tâche de fond. Une nouvelle fenêtre "
    "s'affichera à la fin."};
inline constexpr TextPair background_cancel_question{
    "Cancel the running compression?\n\nThe partial file will be deleted.",
    "Annuler la compression en cours ?\n\nLe fichier partiel sera supprimé."};

// The dialog at the end of a compression that outlived the player.
inline constexpr TextPair completion_finished{"Compression finished", "Compression terminée"};
inline constexpr TextPair completion_failed{"The compression failed",
                                            "La compression n'a pas abouti"};
inline constexpr TextPair completion_folder{"Folder: {folder}", "Dossier : {folder}"};
inline constexpr TextPair completion_open_folder{"Open folder", "Ouvrir le dossier"};

} // namespace ondrel::texts
