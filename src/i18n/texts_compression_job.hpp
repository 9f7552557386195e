// Texts of the compression engine's tools and jobs: missing programs, start failures and how
// each job ended.
#pragma once

#include "i18n/language.hpp"

namespace ondrel::texts {

inline constexpr TextPair ffprobe_missing{
    "ffprobe.exe not found next to Ondrel.exe. Reinstall Ondrel: the installer provides it.",
    "ffprobe.exe introuvable à côté de Ondrel.exe. Réinstallez Ondrel : l'installateur le "
    "fournit."};
inline constexpr TextPair ffmpeg_missing{
    "ffmpeg.exe not found next to Ondrel.exe. Reinstall Ondrel: the installer provides it.",
    "ffmpeg.exe introuvable à côté de Ondrel.exe. Réinstallez Ondrel : l'installateur le "
    "fournit."};

// ffmpeg could not be started, or its state could not be queried.
inline constexpr TextPair could_not_launch_ffmpeg{"Could not launch ffmpeg: {error}",
                                                  "Impossible de lancer ffmpeg : {error}"};
// ffmpeg or ffprobe was still running at the end of the time it is given, and was ended.
inline constexpr TextPair tool_timed_out{
    "{program} did not finish within {seconds} s and was stopped",
    "{program} ne s'est pas terminé en {seconds} s et a été arrêté"};
// A cancel could not end ffmpeg: it refused, or ffmpeg still ran after the wait.
inline constexpr TextPair could_not_stop_ffmpeg{"Could not stop ffmpeg: {error}",
                                                "Impossible d'arrêter ffmpeg : {error}"};
inline constexpr TextPair still_running_after_stop{
    "it was still running {seconds} s after being told to stop",
    "il tournait encore {seconds} s après l'ordre d'arrêt"};
// The output file could not be created before the encode.
inline constexpr TextPair could_not_create_output{"Could not create {path}: {error}",
                                                  "Impossible de créer {path} : {error}"};

// A file of a job that should have gone, or the checked result that should have taken the
// output's name.
inline constexpr TextPair could_not_delete{"Could not delete {path}: {error}",
                                           "Impossible de supprimer {path} : {error}"};
inline constexpr TextPair could_not_rename_output{"Could not rename {partial} to {path}: {error}",
                                                  "Impossible de renommer {partial} en {path} : "
                                                  "{error}"};

inline constexpr TextPair job_done{"Done in {duration}.", "Terminé en {duration}."};
inline constexpr TextPair job_invalid{
    "Done in {duration} but the resulting file is invalid (removed).",
    "Terminé en {duration} mais le fichier produit est invalide (supprimé)."};
inline constexpr TextPair job_failed{"Failed (code {code}) after {duration}.",
                                     "Échec (code {code}) après {duration}."};
inline constexpr TextPair job_failed_partial_removed{
    "Failed (code {code}) after {duration} - partial file removed.",
    "Échec (code {code}) après {duration} - fichier partiel supprimé."};
inline constexpr TextPair job_canceled{"Canceled.", "Annulé."};

} // namespace ondrel::texts
