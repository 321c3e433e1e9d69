# bash completion for veldra-cli
# The options are read from the program's own help, so that they follow the installed version.

_veldra_cli_files() {
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    COMPREPLY+=($(compgen -f -- "$1"))
}

_veldra_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD-1]}
    local commands="info convert edit bake lod render check pk3"
    local command="" subcommand="" i
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            -*) ;;
            *)
                if [[ -z $command ]]; then
                    command=${COMP_WORDS[i]}
                elif [[ $command == pk3 && -z $subcommand ]]; then
                    subcommand=${COMP_WORDS[i]}
                fi
                ;;
        esac
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--help --version" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi
    if [[ $command == pk3 && -z $subcommand ]]; then
        COMPREPLY=($(compgen -W "list extract --help" -- "$cur"))
        return
    fi

    case $prev in
        --out-dir|--to|--game)
            local IFS=$'\n'
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -d -- "$cur"))
            return
            ;;
        --engine)
            COMPREPLY=($(compgen -W "et etlegacy ioq3" -- "$cur"))
            return
            ;;
        --up)
            COMPREPLY=($(compgen -W "y z" -- "$cur"))
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        local options
        options=$("${COMP_WORDS[0]}" $command $subcommand --help 2>/dev/null |
                  grep -o -- '--[a-z0-9][a-z0-9-]*' | sort -u)
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    _veldra_cli_files "$cur"
}

complete -F _veldra_cli veldra-cli
