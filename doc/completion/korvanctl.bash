# bash completion for korvanctl                                  -*- shell-script -*-
#
# The gateway options come before the command, the command's own options after it:
#   korvanctl [--model M] [--gateway HOST[:PORT] | --serial DEVICE] [--mgmt-port PORT] COMMAND ...
# Projects are XML files; `export` writes a .xlsx workbook.

# Offers the files ending in .$1 (every file when $1 is empty) and the folders.
_korvanctl_files() {
    local pattern=$1 cur=$2
    compopt -o filenames 2>/dev/null
    if declare -F _filedir >/dev/null; then
        # bash-completion's own, which handles quoting and ~.
        if [[ -n $pattern ]]; then
            _filedir "$pattern"
        else
            _filedir
        fi
        return
    fi
    local IFS=$'\n' entry
    COMPREPLY=()
    for entry in $(compgen -f -- "$cur"); do
        if [[ -d $entry ]]; then
            COMPREPLY+=("$entry")
        elif [[ -z $pattern ]] || [[ $entry == *."$pattern" ]]; then
            COMPREPLY+=("$entry")
        fi
    done
}

_korvanctl() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local models="vela-1h-tcp vela-3h-tcp vela-3h-rtu"
    local commands="new show check automap export pack unpack float2hex hex2float unit maker download upload search diagnose"
    local global_options="--model --gateway --serial --mgmt-port --help"
    COMPREPLY=()

    # The words before the one completed: the model and the command.
    local i word model="" command=""
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -n $command ]]; then
            continue
        fi
        case $word in
        --model)
            model=${COMP_WORDS[i + 1],,}
            ((i++))
            ;;
        --gateway | --serial | --mgmt-port) ((i++)) ;;
        -*) ;;
        *)
            command=$word
            ;;
        esac
    done

    # Values of the options before the command.
    if [[ -z $command ]]; then
        case $prev in
        --model)
            COMPREPLY=($(compgen -W "$models" -- "${cur,,}"))
            return
            ;;
        --serial)
            # The serial ports rather than the virtual consoles; any other path as typed.
            local IFS=$'\n' port
            for port in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* /dev/ttyAMA* /dev/serial/by-id/*; do
                [[ -e $port && $port == "$cur"* ]] && COMPREPLY+=("$port")
            done
            if ((${#COMPREPLY[@]} == 0)); then
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -f -- "$cur"))
            fi
            return
            ;;
        --gateway | --mgmt-port)
            return
            ;;
        esac
    fi

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$global_options" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    # The command's own options and their values.
    case $prev in
    -o)
        case $command in
        export) _korvanctl_files xlsx "$cur" ;;
        *) _korvanctl_files xml "$cur" ;;
        esac
        return
        ;;
    --channel)
        if [[ $model == vela-1h-tcp ]]; then
            COMPREPLY=($(compgen -W "1" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "1 2 3" -- "$cur"))
        fi
        return
        ;;
    --node)
        COMPREPLY=($(compgen -W "$(echo {0..15})" -- "$cur"))
        return
        ;;
    esac

    local options="" takes_project=false
    case $command in
    new | upload) options="-o" ;;
    show | check) takes_project=true ;;
    automap | export)
        options="-o"
        takes_project=true
        ;;
    download)
        options="--yes --reset --no-reset"
        takes_project=true
        ;;
    diagnose) options="--channel --node" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif $takes_project; then
        _korvanctl_files xml "$cur"
    fi
}

complete -F _korvanctl korvanctl
