#pragma once
// The file dialogs' filter lists: the program writes them as "description|patterns" pairs
// ("Text (*.txt)|*.txt|All (*.*)|*.*"); Qt's dialogs take "description (patterns)" entries
// separated by ";;".

#include <QString>
#include <string>

namespace qalto {

// Each description loses a parenthesised pattern list of its own and gets the pair's patterns
// instead ("Text (*.txt)"); patterns separated by ';' become space-separated, and "*.*" becomes
// "*" so that files without an extension are listed as well. An empty list gives "".
QString QtFileFilter(const std::string& filter);

}  // namespace qalto
