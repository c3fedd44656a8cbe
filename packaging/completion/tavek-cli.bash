# bash completion for tavek-cli.
# Works with or without the bash-completion package: it needs only compgen.

# The ports a technician can name: the Com numbers linked in the ports folder
# (a link counts even while its adapter is unplugged: tavek-cli then says so)
# and the serial devices that exist now.
_tavek_cli_ports() {
    local folder=${XDG_CONFIG_HOME:-$HOME/.config}/tavek/ports entry
    for entry in "$folder"/com*; do
        [[ -L $entry && ${entry##*/} =~ ^com[0-9]+$ ]] && printf '%s\n' "${entry##*/}"
    done
    for entry in /dev/ttyUSB* /dev/ttyACM* /dev/ttyS*; do
        [[ -e $entry ]] && printf '%s\n' "$entry"
    done
}

_tavek_cli() {
    local words=("${COMP_WORDS[@]}") cword=$COMP_CWORD
    local cur=${words[cword]} prev=${words[cword - 1]}
    local commands="check read write verify relay factory-defaults clear ports backups"
    local options="--port --all-ports --json --quiet --verbose --no-verify --no-backup --yes --help --version"
    COMPREPLY=()

    # bash splits "--port=com3" at the "=" into three words.
    if [[ $cur == = && $prev == --port ]]; then
        mapfile -t COMPREPLY < <(_tavek_cli_ports)
        return
    fi
    if [[ $prev == -p || $prev == --port || ($prev == = && ${words[cword - 2]} == --port) ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_tavek_cli_ports)" -- "$cur")
        return
    fi

    # The command is the first word that is neither an option nor a port;
    # what follows it, options aside, are its arguments.
    local i word command="" arguments=0
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        if [[ $word == -p || $word == --port ]]; then
            [[ ${words[i + 1]} == = ]] && ((i++))
            ((i++))
        elif [[ $word == -?* ]]; then
            continue
        elif [[ -z $command ]]; then
            command=$word
        else
            ((arguments++))
        fi
    done

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
    fi
    ((arguments == 0)) || return
    case $command in
    relay)
        [[ $cur == -* ]] || mapfile -t COMPREPLY < <(compgen -W "on off" -- "$cur")
        ;;
    read | write | verify)
        # Configuration files and the folders to find them in; "-" is
        # standard output for read, standard input for write and verify.
        if [[ $cur == - || -z $cur ]]; then
            COMPREPLY+=(-)
        fi
        if [[ $cur != -* ]]; then
            compopt -o filenames 2>/dev/null
            mapfile -t -O ${#COMPREPLY[@]} COMPREPLY < <(compgen -d -- "$cur"; compgen -f -X '!*.tavek' -- "$cur")
        fi
        ;;
    esac
}
complete -F _tavek_cli tavek-cli
