#pragma once
// The demo patient that the end-to-end tests and the run command show in the plain stand-in.
// Portable: the run command's native helper prints it too.
#include <string>

namespace corvane::e2e {

// The patient file, Windows-1252, as the practice program shows it.
inline std::string PatientFile(const std::string& numDossier = "1207", const std::string& nom = "Lef\xE8vre") {
  return "NumDossier=" + numDossier + "\r\nNom=" + nom +
         "\r\nPrenom=H\xE9l\xE8ne\r\nDateNaissance=14/03/1985\r\nNumSS=2 85 03 75 123 456 78\r\n"
         "Civilite=Mme\tMadame\r\nAdresse1=12 rue des Lilas\r\nCP=75011\r\nVille=Paris\r\n"
         "Telephone=01 23 45 67 89\r\nMobile=06 12 34 56 78\r\nEMail=helene@example.fr\r\n";
}

}  // namespace corvane::e2e
