# bash completion for hvtool, Hollyvine's command-line tool.
# Installed as bash-completion/completions/hvtool.

_hvtool_commands="dump write ls find dups links import-links import-bookmarks export-bookmarks
    import-favorites import-shortcuts export-favorites export-html browser-url capture settings due open
    merge passwd info browsers import-browser help"

# The options of each command (besides --help).
_hvtool_options() {
    case "$1" in
        dump) echo "--password --password-file --compact" ;;
        write | ls | info | merge | passwd | due | open | capture | find | dups | import-links | \
            import-bookmarks | export-bookmarks | import-favorites | import-shortcuts | export-favorites | \
            export-html | import-browser)
            local common="--password --password-file"
            case "$1" in
                merge) echo "$common --other-password" ;;
                passwd) echo "$common --new-password" ;;
                due) echo "$common --at" ;;
                open) echo "$common --yes" ;;
                capture | import-bookmarks | import-shortcuts | import-browser) echo "$common --folder" ;;
                find) echo "$common --field --type --case --folder --no-subfolders" ;;
                dups) echo "$common --no-commands --folder --no-subfolders" ;;
                import-links) echo "$common --folder --all" ;;
                export-bookmarks) echo "$common --folder --subfolders-first --title" ;;
                import-favorites) echo "$common --folder --yes" ;;
                export-favorites) echo "$common --folder --clear --yes" ;;
                export-html)
                    echo "$common --folder --kanji --eol --heading --bold-items --show-cmd --title" ;;
                *) echo "$common" ;;
            esac
            ;;
        settings) echo "--escaped" ;;
    esac
}

_hvtool() {
    local cur prev words cword
    _init_completion || return

    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$_hvtool_commands --help --version" -- "$cur"))
        return
    fi

    local command=${words[1]}
    case "$prev" in
        --password | --other-password | --new-password | --title | --at | --folder)
            return
            ;;
        --password-file)
            _filedir
            return
            ;;
        --field)
            COMPREPLY=($(compgen -W "name url memo" -- "$cur"))
            return
            ;;
        --type)
            COMPREPLY=($(compgen -W "contains not-contains equals begins ends" -- "$cur"))
            return
            ;;
        --kanji)
            COMPREPLY=($(compgen -W "sjis jis euc utf8" -- "$cur"))
            return
            ;;
        --eol)
            COMPREPLY=($(compgen -W "crlf lf cr" -- "$cur"))
            return
            ;;
        --heading)
            COMPREPLY=($(compgen -W "h1 h2 h3 b" -- "$cur"))
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_hvtool_options "$command") --help" -- "$cur"))
        return
    fi

    case "$command" in
        help)
            [[ $cword -eq 2 ]] && COMPREPLY=($(compgen -W "$_hvtool_commands" -- "$cur"))
            ;;
        settings)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "set" -- "$cur"))
            elif [[ $cword -eq 3 ]]; then
                COMPREPLY=($(compgen -W "main ExportBm ExportHtml Find ToolBar Window" -- "$cur"))
            fi
            ;;
        browser-url) ;;
        links) _filedir '@(htm|html)' ;;
        write)
            if [[ $cword -eq 2 ]]; then
                _filedir json
            else
                _filedir hv
            fi
            ;;
        *)
            if [[ $cword -eq 2 ]]; then
                _filedir hv
                return
            fi
            case "$command" in
                merge) _filedir hv ;;
                import-links | import-bookmarks | export-bookmarks | export-html) _filedir '@(htm|html)' ;;
                import-shortcuts) _filedir url ;;
                import-favorites | export-favorites) _filedir -d ;;
            esac
            ;;
    esac
} &&
    complete -F _hvtool hvtool
