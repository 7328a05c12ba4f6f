// usage_gen: turns host/usage.txt, the one source of tq240's usage, into the three forms it is
// read in: the text that `tq240 --help` prints (a C++ source defining tqhost::kUsageText), the
// man page tq240.1, and the bash completion script.
//
//   usage_gen USAGE_TXT VERSION OUT_CPP OUT_MAN OUT_BASH
//
// Invariants: every command and option of the source appears in all three outputs, in the
// source's order; an output is rewritten only when its content changes (so that an unchanged
// usage recompiles nothing). A malformed line stops the build with its line number.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Command {
  std::string name, arguments, text;
};

struct Option {
  std::string name, value, variable, text, fallback;
};

struct Usage {
  std::vector<std::string> about;
  std::vector<Command> commands;
  std::vector<Option> options;
};

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The fields of an entry, separated by "|" (no field holds one), without their blanks.
std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find('|', start);
    out.push_back(Trim(text.substr(start, bar == std::string::npos ? bar : bar - start)));
    if (bar == std::string::npos) return out;
    start = bar + 1;
  }
}

bool Read(const char* path, Usage& usage) {
  std::ifstream in(path);
  if (!in) {
    std::cerr << "usage_gen: cannot read " << path << "\n";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    const size_t space = line.find(' ');
    const std::string kind = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    const std::vector<std::string> f = Fields(rest);
    if (kind == "about") {
      usage.about.push_back(rest);
    } else if (kind == "command" && f.size() == 3) {
      usage.commands.push_back({f[0], f[1], f[2]});
    } else if (kind == "option" && f.size() == 5) {
      usage.options.push_back({f[0], f[1], f[2], f[3], f[4]});
    } else {
      std::cerr << path << ":" << number << ": malformed usage line\n";
      return false;
    }
  }
  return true;
}

std::string CString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == '\n') {
      out += "\\n\"\n    \"";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text + "  ";
}

std::string HelpText(const Usage& u) {
  std::string out = "usage: tq240 [OPTIONS] COMMAND [ARGUMENTS]\n\ncommands:\n";
  for (const Command& c : u.commands)
    out +=
        "  " + Padded(c.name + (c.arguments.empty() ? "" : " " + c.arguments), 28) + c.text + "\n";
  out += "\noptions (each also from its environment variable; the option wins):\n";
  for (const Option& o : u.options) {
    std::string line = "  " + Padded(o.name + (o.value.empty() ? "" : " " + o.value), 20);
    if (!o.variable.empty())
      line += Padded(o.variable, 14);
    else
      line += Padded("", 14);
    line += o.text;
    if (!o.fallback.empty()) line += " [default: " + o.fallback + "]";
    out += line + "\n";
  }
  return out;
}

// Text for roff: backslashes escaped, no line starting with a control character.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
  return out;
}

std::string ManPage(const Usage& u, const std::string& version) {
  std::string out = ".\\\" Generated from host/usage.txt by tools/usage_gen; edit that file.\n";
  out += ".TH TQ240 1 \"\" \"tq240std " + version + "\" \"User Commands\"\n";
  out += ".SH NAME\ntq240 \\- the VM stand-in of the tq240std standard-function library\n";
  out += ".SH SYNOPSIS\n";
  for (const Command& c : u.commands)
    out +=
        ".B tq240\n[\\fIOPTIONS\\fR] \\fB" + Roff(c.name) + "\\fR " + Roff(c.arguments) + "\n.br\n";
  out += ".SH DESCRIPTION\n";
  for (const std::string& p : u.about) out += Roff(p) + "\n.PP\n";
  out += ".SH COMMANDS\n";
  for (const Command& c : u.commands)
    out += ".TP\n\\fB" + Roff(c.name) + "\\fR " + Roff(c.arguments) + "\n" + Roff(c.text) + ".\n";
  out += ".SH OPTIONS\n";
  for (const Option& o : u.options) {
    out += ".TP\n\\fB" + Roff(o.name) + "\\fR" +
           (o.value.empty() ? "" : " \\fI" + Roff(o.value) + "\\fR") + "\n" + Roff(o.text) + ".";
    if (!o.variable.empty()) out += " Environment: \\fB" + Roff(o.variable) + "\\fR.";
    if (!o.fallback.empty()) out += " Default: " + Roff(o.fallback) + ".";
    out += "\n";
  }
  out +=
      ".SH EXIT STATUS\n0 on success; 1 when a plain call leaves an error; 2 for usage problems.\n";
  out += ".SH SEE ALSO\nThe README and host-cli.md in share/doc/tq240std.\n";
  return out;
}

std::string Completion(const Usage& u) {
  std::string commands, options, valued, dirs, files;
  for (const Command& c : u.commands) commands += (commands.empty() ? "" : " ") + c.name;
  for (const Option& o : u.options) {
    options += (options.empty() ? "" : " ") + o.name;
    if (o.value.empty()) continue;
    valued += " " + o.name;
    if (o.value == "DIR") dirs += (dirs.empty() ? "" : "|") + o.name;
    if (o.value == "FILE") files += (files.empty() ? "" : "|") + o.name;
  }
  std::ostringstream s;
  s << "# bash completion for tq240. Generated from host/usage.txt by tools/usage_gen.\n"
    << "_tq240() {\n"
    << "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
    << "  local commands=\"" << commands << "\"\n"
    << "  local options=\"" << options << " -h\"\n"
    << "  local valued=\"" << valued << " \"\n"
    << "  COMPREPLY=()\n"
    << "  case $prev in\n"
    << "    " << dirs << ") COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
    << "    " << files << ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
    << "  esac\n"
    << "  [[ $valued == *\" $prev \"* ]] && return\n"
    << "  local i word command=\"\" at=0\n"
    << "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
    << "    word=${COMP_WORDS[i]}\n"
    << "    if [[ $valued == *\" $word \"* ]]; then ((i++)); continue; fi\n"
    << "    [[ $word == -* ]] && continue\n"
    << "    command=$word at=$i\n"
    << "    break\n"
    << "  done\n"
    << "  if [[ -z $command ]]; then\n"
    << "    if [[ $cur == -* ]]; then\n"
    << "      COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
    << "    else\n"
    << "      COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))\n"
    << "    fi\n"
    << "    return\n"
    << "  fi\n"
    << "  case $command in\n"
    << "    call|describe)\n"
    << "      if ((COMP_CWORD == at + 1)); then\n"
    << "        local names\n"
    << "        names=$(\"${COMP_WORDS[0]}\" functions 2>/dev/null | awk '/^[0-9]/ && $2 != \"-\" "
       "{ print $2 }')\n"
    << "        COMPREPLY=($(compgen -W \"$names\" -- \"$cur\"))\n"
    << "      fi ;;\n"
    << "    script|compact) COMPREPLY=($(compgen -f -- \"$cur\")) ;;\n"
    << "    functions|info) COMPREPLY=($(compgen -W \"--json\" -- \"$cur\")) ;;\n"
    << "  esac\n"
    << "}\n"
    << "complete -F _tq240 tq240\n";
  return s.str();
}

bool WriteIfChanged(const char* path, const std::string& content) {
  std::ifstream old(path, std::ios::binary);
  if (old) {
    std::ostringstream existing;
    existing << old.rdbuf();
    if (existing.str() == content) return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) {
    std::cerr << "usage_gen: cannot write " << path << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: usage_gen USAGE_TXT VERSION OUT_CPP OUT_MAN OUT_BASH\n";
    return 2;
  }
  Usage usage;
  if (!Read(argv[1], usage)) return 1;
  const std::string source =
      "// Generated from host/usage.txt by tools/usage_gen; edit that file.\n"
      "namespace tqhost {\n"
      "extern const char kUsageText[] =\n    " +
      CString(HelpText(usage)) + ";\n}  // namespace tqhost\n";
  const bool ok = WriteIfChanged(argv[3], source) &&
                  WriteIfChanged(argv[4], ManPage(usage, argv[2])) &&
                  WriteIfChanged(argv[5], Completion(usage));
  return ok ? 0 : 1;
}
