// ondrel-compress's texts for an encode into a target size (--target-size).
#pragma once

#include "i18n/language.hpp"

namespace ondrel::texts {

inline constexpr TextPair cli_bad_target_size{
    "Not a size: {value} (for example 25MB, 8MiB, 500KB, 1.5GB)",
    "Taille non valide : {value} (par exemple 25MB, 8MiB, 500KB, 1.5GB)"};
inline constexpr TextPair cli_estimate_with_target{
    "--estimate and --target-size cannot be used together: a target size decides the size.",
    "--estimate et --target-size ne vont pas ensemble : une taille cible décide de la taille."};
inline constexpr TextPair cli_target_line{"Target: {size}, video at {kbps} kbit/s",
                                          "Cible : {size}, vidéo à {kbps} kbit/s"};
inline constexpr TextPair cli_pass_line{"Pass {pass} of {count}", "Passe {pass} sur {count}"};
inline constexpr TextPair cli_retry_line{
    "{size} is over the target: encoding again with the video at {kbps} kbit/s",
    "{size} dépasse la cible : nouvel encodage avec la vidéo à {kbps} kbit/s"};
inline constexpr TextPair cli_target_missed{
    "Still over the target size after {count} more encodes ({size}): nothing was kept.",
    "Toujours au-dessus de la taille cible après {count} encodages de plus ({size}) : rien "
    "n'a été gardé."};
inline constexpr TextPair cli_copy_audio_unknown{
    "The copied audio's size is unknown: it is re-encoded to AAC at {kbps} kbit/s to fit the "
    "target.",
    "La taille de l'audio copié est inconnue : il est réencodé en AAC à {kbps} kbit/s pour "
    "tenir dans la cible."};
inline constexpr TextPair cli_target_unknown_duration{
    "The video's duration is unknown: no bit rate can be worked out for a target size.",
    "La durée de la vidéo est inconnue : aucun débit ne peut être calculé pour une taille "
    "cible."};
inline constexpr TextPair cli_target_not_smaller{
    "The target size {target} is not smaller than the file ({size}): nothing to gain.",
    "La taille cible {target} n'est pas plus petite que le fichier ({size}) : rien à gagner."};
inline constexpr TextPair cli_target_audio_too_large{
    "The audio alone ({size}) does not fit in the target size {target}.",
    "L'audio seul ({size}) ne tient pas dans la taille cible {target}."};
inline constexpr TextPair cli_target_below_floor{
    "The target size {target} leaves {kbps} kbit/s for the video; {height}p needs at least "
    "{floor} kbit/s.",
    "La taille cible {target} laisse {kbps} kbit/s à la vidéo ; en {height}p, il faut au "
    "moins {floor} kbit/s."};
inline constexpr TextPair cli_target_suggestion{
    "It would fit at {height}p: --options \"{options}\"",
    "Elle tiendrait en {height}p : --options \"{options}\""};

} // namespace ondrel::texts
