# fish completion for tavek-cli.

# The ports a technician can name: the Com numbers linked in the ports folder
# (a link counts even while its adapter is unplugged: tavek-cli then says so)
# and the serial devices that exist now.
function __tavek_cli_ports
    set -l config $HOME/.config
    set -q XDG_CONFIG_HOME[1]; and set config $XDG_CONFIG_HOME
    for link in $config/tavek/ports/com*
        set -l name (string replace -r '.*/' '' -- $link)
        test -L $link; and string match -qr '^com[0-9]+$' -- $name; and echo $name\tCom number
    end
    for device in /dev/ttyUSB* /dev/ttyACM* /dev/ttyS*
        echo $device\tserial device
    end
end

# The words after the program that are neither options nor a port: the
# command, then its arguments.
function __tavek_cli_words
    set -l tokens (commandline -opc)
    set -e tokens[1]
    set -l skip 0
    for token in $tokens
        if test $skip = 1
            set skip 0
        else if contains -- $token -p --port
            set skip 1
        else if not string match -q -- '-?*' $token
            echo $token
        end
    end
end

function __tavek_cli_needs_command
    test (count (__tavek_cli_words)) -eq 0
end

# True while the first argument of one of the given commands is being typed.
function __tavek_cli_first_argument_of
    set -l words (__tavek_cli_words)
    test (count $words) -eq 1; and contains -- $words[1] $argv
end

complete -c tavek-cli -f

complete -c tavek-cli -n __tavek_cli_needs_command -a check -d 'does a modem answer?'
complete -c tavek-cli -n __tavek_cli_needs_command -a read -d 'read the configuration into FILE'
complete -c tavek-cli -n __tavek_cli_needs_command -a write -d 'send FILE, then read it back'
complete -c tavek-cli -n __tavek_cli_needs_command -a verify -d 'compare the modem with FILE'
complete -c tavek-cli -n __tavek_cli_needs_command -a relay -d 'switch the relay'
complete -c tavek-cli -n __tavek_cli_needs_command -a factory-defaults -d 'restore the factory communication settings'
complete -c tavek-cli -n __tavek_cli_needs_command -a clear -d 'empty the phone book, default inputs'
complete -c tavek-cli -n __tavek_cli_needs_command -a ports -d 'list the serial ports with their Com numbers'
complete -c tavek-cli -n __tavek_cli_needs_command -a backups -d 'list the automatic backups'

complete -c tavek-cli -n '__tavek_cli_first_argument_of relay' -a 'on off'
# Configuration files and the folders to find them in (fish's helper lists
# every other file too, after them).
function __tavek_cli_configuration_files
    __fish_complete_suffix .tavek | string match -r -- '.*(?:\.tavek|/)$'
end
complete -c tavek-cli -n '__tavek_cli_first_argument_of read write verify' -a '(__tavek_cli_configuration_files)'
complete -c tavek-cli -n '__tavek_cli_first_argument_of read write verify' -a - -d 'standard input or output'

complete -c tavek-cli -s p -l port -x -a '(__tavek_cli_ports)' -d 'comN, "Com N" or a device path'
complete -c tavek-cli -l all-ports -d 'write/verify: every port where a modem answers'
complete -c tavek-cli -l json -d 'machine-readable output'
complete -c tavek-cli -s q -l quiet -d 'print nothing but errors'
complete -c tavek-cli -s v -l verbose -d 'progress and line traffic on stderr'
complete -c tavek-cli -l no-verify -d 'write: skip the read-back'
complete -c tavek-cli -l no-backup -d 'write/clear: skip the backup read first'
complete -c tavek-cli -s y -l yes -d 'answer yes to the question of factory-defaults and clear'
complete -c tavek-cli -s h -l help -d 'show the help'
complete -c tavek-cli -s V -l version -d 'show the version'
