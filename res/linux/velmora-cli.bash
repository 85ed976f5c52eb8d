# bash completion for velmora-cli: its commands, each command's options,
# the values of --tab and --layout, and file names where a file is expected.

_velmora_cli() {
  local cur prev words cword
  _init_completion || return

  local commands="dump build import-sdx convert check export-csv sort move reorder diff"
  local write="-o --output --favourites --no-backup --layout"

  case $prev in
    --tab)
      COMPREPLY=($(compgen -W "satellites transponders channels" -- "$cur"))
      return
      ;;
    --layout)
      COMPREPLY=($(compgen -W "I II" -- "$cur"))
      return
      ;;
    --favourites)
      _filedir -d
      return
      ;;
    -o | --output)
      _filedir '@(wdb|WDB)'
      return
      ;;
    --into | --like)
      _filedir '@(wdb|WDB|json)'
      return
      ;;
    --satellite | --from | --to)
      return
      ;;
  esac

  local command="" i
  for ((i = 1; i < cword; i++)); do
    case ${words[i]} in
      -*) ;;
      *)
        command=${words[i]}
        break
        ;;
    esac
  done

  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return
  fi

  local options files='@(wdb|WDB|json)'
  case $command in
    dump) options="--json" files='@(wdb|WDB)' ;;
    build) options="$write" files='json' ;;
    import-sdx)
      options="$write --into --include-feed-test"
      files='@(sdx|SDX|txt|TXT)'
      ;;
    convert) options="$write" files='@(wdb|WDB)' ;;
    check) options="--json" ;;
    export-csv) options="--tab --satellite" ;;
    sort) options="$write --tab" ;;
    move) options="$write --tab --satellite --from --to" ;;
    reorder) options="$write --like --json" ;;
    diff) options="--json" ;;
    *) return ;;
  esac

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
  else
    _filedir "$files"
  fi
} && complete -F _velmora_cli velmora-cli
