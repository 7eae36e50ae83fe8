object MainForm: TMainForm
  Left = 100
  Top = 100
  Width = 802
  Height = 640
  Caption = 'Quorvane v2.0'
  Color = clBtnFace
  Constraints.MinHeight = 550
  Constraints.MinWidth = 800
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnResize = FormResize
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  OnMouseMove = HintMouseMove
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 786
    Height = 26
    Images = ToolImages
    Flat = True
    OnMouseMove = HintMouseMove
    object HigLightBtn: TToolButton
      Left = 438
      Top = 0
      Width = 23
      Tag = 10
      ImageIndex = 25
      Style = tbsCheck
      OnClick = HigLightBtnClick
      OnMouseMove = HintMouseMove
    end
    object WrapButton: TToolButton
      Left = 415
      Top = 0
      Width = 23
      Tag = 8
      ImageIndex = 21
      Style = tbsCheck
      OnClick = WrapButtonClick
      OnMouseMove = HintMouseMove
    end
    object ZoomButton: TToolButton
      Left = 392
      Top = 0
      Width = 23
      Tag = 22
      ImageIndex = 16
      Style = tbsCheck
      AllowAllUp = True
      OnClick = ZoomButtonClick
      OnMouseMove = HintMouseMove
    end
    object Spacer6: TToolButton
      Left = 384
      Top = 0
      Width = 8
      Style = tbsSeparator
      OnMouseMove = HintMouseMove
    end
    object FireFoxBtn: TToolButton
      Left = 361
      Top = 0
      Width = 23
      Tag = 13
      ImageIndex = 15
      OnClick = FireFoxBtnClick
      OnMouseMove = HintMouseMove
    end
    object OperaBtn: TToolButton
      Left = 338
      Top = 0
      Width = 23
      Tag = 12
      ImageIndex = 14
      OnClick = OperaBtnClick
      OnMouseMove = HintMouseMove
    end
    object ViewDefBrowBtn: TToolButton
      Left = 315
      Top = 0
      Width = 23
      Tag = 11
      ImageIndex = 13
      OnClick = ViewDefBrowBtnClick
      OnMouseMove = HintMouseMove
    end
    object Spacer5: TToolButton
      Left = 307
      Top = 0
      Width = 8
      Style = tbsSeparator
      OnMouseMove = HintMouseMove
    end
    object ReloadScriptButton: TToolButton
      Left = 284
      Top = 0
      Width = 23
      Tag = 17
      ImageIndex = 12
      OnClick = PageBrowse
      OnMouseMove = HintMouseMove
    end
    object ReloadPageButton: TToolButton
      Left = 261
      Top = 0
      Width = 23
      Tag = 16
      ImageIndex = 11
      OnClick = ReloadPage
      OnMouseMove = HintMouseMove
    end
    object GoForwardButton: TToolButton
      Left = 238
      Top = 0
      Width = 23
      Tag = 15
      ImageIndex = 10
      OnClick = GoForwardButtonClick
      OnMouseMove = HintMouseMove
    end
    object GoBackButton: TToolButton
      Left = 215
      Top = 0
      Width = 23
      Tag = 14
      ImageIndex = 9
      OnClick = GoBackButtonClick
      OnMouseMove = HintMouseMove
    end
    object Spacer4: TToolButton
      Left = 207
      Top = 0
      Width = 8
      Style = tbsSeparator
      OnMouseMove = HintMouseMove
    end
    object HelpButton: TToolButton
      Left = 184
      Top = 0
      Width = 23
      Tag = 9
      ImageIndex = 8
      OnClick = MenuHelpClick
      OnMouseMove = HintMouseMove
    end
    object InfoButton: TToolButton
      Left = 161
      Top = 0
      Width = 23
      Tag = 7
      ImageIndex = 7
      Style = tbsCheck
      Down = True
      OnClick = MenuInfoPanel1Click
      OnMouseMove = HintMouseMove
    end
    object ColorButton: TToolButton
      Left = 138
      Top = 0
      Width = 23
      Tag = 19
      ImageIndex = 6
      OnClick = ColorButtonClick
      OnMouseMove = HintMouseMove
    end
    object SettButton: TToolButton
      Left = 115
      Top = 0
      Width = 23
      Tag = 6
      ImageIndex = 5
      OnClick = SettButtonClick
      OnMouseMove = HintMouseMove
    end
    object HtmlButton: TToolButton
      Left = 92
      Top = 0
      Width = 23
      Tag = 5
      ImageIndex = 4
      OnClick = MenuSummary1Click
      OnMouseMove = HintMouseMove
    end
    object SourceButton: TToolButton
      Left = 69
      Top = 0
      Width = 23
      Tag = 4
      ImageIndex = 3
      OnClick = MenuSource1Click
      OnMouseMove = HintMouseMove
    end
    object PreviewButton: TToolButton
      Left = 46
      Top = 0
      Width = 23
      Tag = 3
      ImageIndex = 2
      OnClick = MenuPreviewClick
      OnMouseMove = HintMouseMove
    end
    object ExportButton: TToolButton
      Left = 23
      Top = 0
      Width = 23
      Tag = 2
      ImageIndex = 1
      Enabled = False
      OnMouseMove = HintMouseMove
      OnClick = MenuExport1Click
    end
    object OpenButton: TToolButton
      Left = 0
      Top = 0
      Width = 23
      Tag = 1
      ImageIndex = 0
      OnClick = MenuOpen1Click
      OnMouseMove = HintMouseMove
    end
  end
  object StatusBar: TTntStatusBar
    Left = 0
    Top = 560
    Width = 786
    Height = 19
    Panels = <
      item
        Width = 50
      end
      item
        Width = 50
      end
      item
        Width = 200
      end
      item
        Width = 50
      end>
    SimplePanel = False
  end
  object AuthorLabel: TTntLabel
    Left = 4
    Top = 462
    Anchors = [akLeft, akBottom]
    Caption = 'Created by:'
  end
  object InfoEdit: TRichEdit
    Left = 4
    Top = 478
    Anchors = [akLeft, akBottom]
    Width = 250
    Height = 78
    PlainText = True
    ReadOnly = True
    ScrollBars = ssVertical
    Visible = False
  end
  object DescriptLabel: TTntLabel
    Left = 260
    Top = 462
    Anchors = [akLeft, akBottom]
    Caption = 'Description:'
  end
  object RemarksEdit: TMemo
    Left = 260
    Top = 478
    Anchors = [akLeft, akRight, akBottom]
    Width = 360
    Height = 78
    ReadOnly = True
    ScrollBars = ssVertical
    Visible = False
  end
  object FilesLabel: TTntLabel
    Left = 626
    Top = 462
    Anchors = [akRight, akBottom]
    Caption = 'Files:'
  end
  object FilesMemo: TMemo
    Left = 626
    Top = 478
    Anchors = [akRight, akBottom]
    Width = 156
    Height = 78
    ReadOnly = True
    ScrollBars = ssVertical
    Visible = False
  end
  object Panel3: TTntPanel
    Left = 0
    Top = 26
    Width = 786
    Height = 434
    Anchors = [akLeft, akTop, akRight, akBottom]
    BevelOuter = bvNone
    object BrowserPanel: TTntPanel
      Left = 0
      Top = 0
      Width = 180
      Height = 434
      Align = alLeft
      BevelOuter = bvNone
      object TypeComboBox: TComboBox
        Left = 0
        Top = 0
        Width = 180
        Height = 21
        Align = alTop
        Style = csDropDownList
        OnSelect = SelectScriptType
      end
      object TitleBox: TListBox
        Left = 0
        Top = 21
        Width = 180
        Height = 413
        Align = alClient
        OnClick = SelectTitleBox
      end
    end
    object BrowserSplitter: TglSplitter
      Left = 180
      Top = 0
      Width = 6
      Height = 434
      Cursor = crHSplit
      AutoSnap = False
      MinSize = 1
      ResizeStyle = rsUpdate
    end
    object PageControl1: TTntPageControl
      Left = 186
      Top = 0
      Width = 600
      Height = 434
      Align = alClient
      ActivePage = TabSheet1
      OnChange = PageControlChange
      OnMouseMove = HintMouseMove
      object TabSheet1: TTntTabSheet
        Caption = 'Preview'
        object CaptionPanel: TTntPanel
          Left = 0
          Top = 0
          Width = 600
          Height = 20
          Align = alTop
          BevelOuter = bvLowered
          Caption = ''
        end
        object WizGroupBox: TglGroupBox
          Left = 0
          Top = 365
          Width = 600
          Height = 16
          Align = alBottom
          Caption = 'Wizard'
          Colors.Text = clRed
          Colors.TextActive = clRed
          Visible = False
          Collapsed = True
          Options = [fgoCanCollapse, fgoFilledCaption, fgoFluentlyCollapse, fgoFluentlyExpand, fgoHideChildrenWhenCollapsed, fgoSaveChildFocus]
          FullHeight = 181
          OnCollapsed = WizardPrevAction
          object PrevWizPanel: TTntPanel
            Left = 2
            Top = 148
            Width = 596
            Height = 31
            Align = alBottom
            BevelOuter = bvNone
            Visible = False
            object WizApplytBtn: TTntButton
              Left = 8
              Top = 3
              Width = 75
              Height = 25
              Caption = 'Apply'
              OnClick = WizardPrevAction
            end
          end
          object WizScrollBox: TScrollBox
            Left = 2
            Top = 15
            Width = 596
            Height = 133
            Align = alClient
            Visible = False
            object WizLabel: TTntLabel
              Left = 8
              Top = 4
              Caption = 'There are no parameters for change!'
              Font.Color = clRed
              Font.Style = [fsBold]
              ParentFont = False
            end
            object WizColorRows: TTntPanel
              Left = 0
              Top = 0
              Width = 595
              Height = 147
              Align = alTop
              AutoSize = True
              BevelOuter = bvNone
              object WizColorPanel1: TTntPanel
                Left = 0
                Top = 0
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WColorEdit1: TComboEdit
                  Left = 0
                  Top = 0
                  Width = 65
                  Height = 21
                  ButtonWidth = 10
                  Text = '....'
                  OnButtonClick = WColorEditButtonClick
                end
                object WColorBtn1: TColorPickerButton
                  Left = 70
                  Top = 0
                  Width = 45
                  Height = 21
                  CustomText = 'More Colors...'
                  DefaultText = 'Default'
                  Flat = True
                  PopupSpacing = 8
                  SelectionColor = clBtnFace
                  ShowSystemColors = False
                  OnChange = WColorBtn1Change
                end
                object WColorLabel1: TTntLabel
                  Left = 120
                  Top = 4
                  Caption = '....'
                end
              end
              object WizColorPanel2: TTntPanel
                Left = 0
                Top = 21
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WColorEdit2: TComboEdit
                  Left = 0
                  Top = 0
                  Width = 65
                  Height = 21
                  ButtonWidth = 10
                  Text = '....'
                  OnButtonClick = WColorEditButtonClick
                end
                object WColorBtn2: TColorPickerButton
                  Left = 70
                  Top = 0
                  Width = 45
                  Height = 21
                  CustomText = 'More Colors...'
                  DefaultText = 'Default'
                  Flat = True
                  PopupSpacing = 8
                  ShowSystemColors = False
                  OnChange = WColorBtn2Change
                end
                object WColorLabel2: TTntLabel
                  Left = 120
                  Top = 4
                  Caption = '....'
                end
              end
              object WizColorPanel3: TTntPanel
                Left = 0
                Top = 42
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WColorEdit3: TComboEdit
                  Left = 0
                  Top = 0
                  Width = 65
                  Height = 21
                  ButtonWidth = 10
                  Text = '....'
                  OnButtonClick = WColorEditButtonClick
                end
                object WColorBtn3: TColorPickerButton
                  Left = 70
                  Top = 0
                  Width = 45
                  Height = 21
                  CustomText = 'More Colors...'
                  DefaultText = 'Default'
                  Flat = True
                  PopupSpacing = 8
                  ShowSystemColors = False
                  OnChange = WColorBtn3Change
                end
                object WColorLabel3: TTntLabel
                  Left = 120
                  Top = 4
                  Caption = '....'
                end
              end
              object WizColorPanel4: TTntPanel
                Left = 0
                Top = 63
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WColorEdit4: TComboEdit
                  Left = 0
                  Top = 0
                  Width = 65
                  Height = 21
                  ButtonWidth = 10
                  Text = '....'
                  OnButtonClick = WColorEditButtonClick
                end
                object WColorBtn4: TColorPickerButton
                  Left = 70
                  Top = 0
                  Width = 45
                  Height = 21
                  CustomText = 'More Colors...'
                  DefaultText = 'Default'
                  Flat = True
                  PopupSpacing = 8
                  ShowSystemColors = False
                  OnChange = WColorBtn4Change
                end
                object WColorLabel4: TTntLabel
                  Left = 120
                  Top = 4
                  Caption = '....'
                end
              end
              object WizColorPanel5: TTntPanel
                Left = 0
                Top = 84
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WColorEdit5: TComboEdit
                  Left = 0
                  Top = 0
                  Width = 65
                  Height = 21
                  ButtonWidth = 10
                  Text = '....'
                  OnButtonClick = WColorEditButtonClick
                end
                object WColorBtn5: TColorPickerButton
                  Left = 70
                  Top = 0
                  Width = 45
                  Height = 21
                  CustomText = 'More Colors...'
                  DefaultText = 'Default'
                  Flat = True
                  PopupSpacing = 8
                  ShowSystemColors = False
                  OnChange = WColorBtn5Change
                end
                object WColorLabel5: TTntLabel
                  Left = 120
                  Top = 4
                  Caption = '....'
                end
              end
              object WizColorPanel6: TTntPanel
                Left = 0
                Top = 105
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WColorEdit6: TComboEdit
                  Left = 0
                  Top = 0
                  Width = 65
                  Height = 21
                  ButtonWidth = 10
                  Text = '....'
                  OnButtonClick = WColorEditButtonClick
                end
                object WColorBtn6: TColorPickerButton
                  Left = 70
                  Top = 0
                  Width = 45
                  Height = 21
                  CustomText = 'More Colors...'
                  DefaultText = 'Default'
                  Flat = True
                  PopupSpacing = 8
                  ShowSystemColors = False
                  OnChange = WColorBtn6Change
                end
                object WColorLabel6: TTntLabel
                  Left = 120
                  Top = 4
                  Caption = '....'
                end
              end
              object WizColorPanel7: TTntPanel
                Left = 0
                Top = 126
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WColorEdit7: TComboEdit
                  Left = 0
                  Top = 0
                  Width = 65
                  Height = 21
                  ButtonWidth = 10
                  Text = '....'
                  OnButtonClick = WColorEditButtonClick
                end
                object WColorBtn7: TColorPickerButton
                  Left = 70
                  Top = 0
                  Width = 45
                  Height = 21
                  CustomText = 'More Colors...'
                  DefaultText = 'Default'
                  Flat = True
                  PopupSpacing = 8
                  ShowSystemColors = False
                  OnChange = WColorBtn7Change
                end
                object WColorLabel7: TTntLabel
                  Left = 120
                  Top = 4
                  Caption = '....'
                end
              end
            end
            object WizTextRows: TTntPanel
              Left = 0
              Top = 147
              Width = 595
              Height = 126
              Align = alTop
              AutoSize = True
              BevelOuter = bvNone
              object WizEditPanel1: TTntPanel
                Left = 0
                Top = 0
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WTextEdit1: TTntEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                end
                object WTextLabel1: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizEditPanel2: TTntPanel
                Left = 0
                Top = 21
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WTextEdit2: TTntEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                end
                object WTextLabel2: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizEditPanel3: TTntPanel
                Left = 0
                Top = 42
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WTextEdit3: TTntEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                end
                object WTextLabel3: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizEditPanel4: TTntPanel
                Left = 0
                Top = 63
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WTextEdit4: TTntEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                end
                object WTextLabel4: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizEditPanel5: TTntPanel
                Left = 0
                Top = 84
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WTextEdit5: TTntEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                end
                object WTextLabel5: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizEditPanel6: TTntPanel
                Left = 0
                Top = 105
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WTextEdit6: TTntEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                end
                object WTextLabel6: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
            end
            object WizIntRows: TTntPanel
              Left = 0
              Top = 273
              Width = 595
              Height = 126
              Align = alTop
              AutoSize = True
              BevelOuter = bvNone
              object WizIntPanel1: TTntPanel
                Left = 0
                Top = 0
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WIntEdit1: TRxSpinEdit
                  Left = 0
                  Top = 0
                  Width = 73
                  Height = 21
                end
                object WIntLabel1: TTntLabel
                  Left = 80
                  Top = 4
                  Caption = '....'
                end
              end
              object WizIntPanel2: TTntPanel
                Left = 0
                Top = 21
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WIntEdit2: TRxSpinEdit
                  Left = 0
                  Top = 0
                  Width = 73
                  Height = 21
                end
                object WIntLabel2: TTntLabel
                  Left = 80
                  Top = 4
                  Caption = '....'
                end
              end
              object WizIntPanel3: TTntPanel
                Left = 0
                Top = 42
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WIntEdit3: TRxSpinEdit
                  Left = 0
                  Top = 0
                  Width = 73
                  Height = 21
                end
                object WIntLabel3: TTntLabel
                  Left = 80
                  Top = 4
                  Caption = '....'
                end
              end
              object WizIntPanel4: TTntPanel
                Left = 0
                Top = 63
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WIntEdit4: TRxSpinEdit
                  Left = 0
                  Top = 0
                  Width = 73
                  Height = 21
                end
                object WIntLabel4: TTntLabel
                  Left = 80
                  Top = 4
                  Caption = '....'
                end
              end
              object WizIntPanel5: TTntPanel
                Left = 0
                Top = 84
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WIntEdit5: TRxSpinEdit
                  Left = 0
                  Top = 0
                  Width = 73
                  Height = 21
                end
                object WIntLabel5: TTntLabel
                  Left = 80
                  Top = 4
                  Caption = '....'
                end
              end
              object WizIntPanel6: TTntPanel
                Left = 0
                Top = 105
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WIntEdit6: TRxSpinEdit
                  Left = 0
                  Top = 0
                  Width = 73
                  Height = 21
                end
                object WIntLabel6: TTntLabel
                  Left = 80
                  Top = 4
                  Caption = '....'
                end
              end
            end
            object WizFileRows: TTntPanel
              Left = 0
              Top = 399
              Width = 595
              Height = 126
              Align = alTop
              AutoSize = True
              BevelOuter = bvNone
              object WizFilePanel1: TTntPanel
                Left = 0
                Top = 0
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WFilenameEdit1: TFilenameEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                  DirectInput = False
                  OnButtonClick = WOldFile
                  OnChange = WFilenameAction
                end
                object WFileLabel1: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizFilePanel2: TTntPanel
                Left = 0
                Top = 21
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WFilenameEdit2: TFilenameEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                  DirectInput = False
                end
                object WFileLabel2: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizFilePanel3: TTntPanel
                Left = 0
                Top = 42
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WFilenameEdit3: TFilenameEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                  DirectInput = False
                end
                object WFileLabel3: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizFilePanel4: TTntPanel
                Left = 0
                Top = 63
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WFilenameEdit4: TFilenameEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                  DirectInput = False
                end
                object WFileLabel4: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizFilePanel5: TTntPanel
                Left = 0
                Top = 84
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WFilenameEdit5: TFilenameEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                  DirectInput = False
                end
                object WFileLabel5: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
              object WizFilePanel6: TTntPanel
                Left = 0
                Top = 105
                Width = 595
                Height = 21
                Align = alTop
                BevelOuter = bvNone
                Visible = False
                object WFilenameEdit6: TFilenameEdit
                  Left = 0
                  Top = 0
                  Width = 300
                  Height = 21
                  Text = '....'
                  DirectInput = False
                end
                object WFileLabel6: TTntLabel
                  Left = 306
                  Top = 4
                  Caption = '....'
                end
              end
            end
          end
        end
        object BrowsStatusBar: TTntStatusBar
          Left = 0
          Top = 381
          Width = 600
          Height = 19
          SimplePanel = True
          Visible = False
        end
        object CppWebBrowser1: TCppWebBrowser
          Left = 0
          Top = 20
          Width = 600
          Height = 180
          Align = alClient
          OnProgressChange = CppWebBrowser1ProgressChange
          OnStatusTextChange = CppWebBrowser1StatusTextChange
          OnTitleChange = CppWebBrowser1TitleChange
        end
      end
      object TabSheet2: TTntTabSheet
        Caption = 'Source code'
        object Body_Edit: TSynEdit
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = -13
          Font.Name = 'Courier New'
          Font.Style = []
          Left = 0
          Top = 340
          Width = 600
          Height = 60
          Align = alBottom
          Tag = 18
          OnMouseMove = HintMouseMove
          OnDblClick = CopyToClpbrd
        end
        object SourcePageControl: TTntPageControl
          Left = 0
          Top = 0
          Width = 600
          Height = 340
          Align = alClient
          ActivePage = HeadSheet
          OnMouseMove = HintMouseMove
          OnChange = SourcePageControlChange
          object HeadSheet: TTntTabSheet
            Caption = '<HEAD>'
            object HeadEdit: TSynEdit
              Font.Charset = DEFAULT_CHARSET
              Font.Color = clWindowText
              Font.Height = -13
              Font.Name = 'Courier New'
              Font.Style = []
              Left = 0
              Top = 0
              Width = 592
              Height = 312
              Align = alClient
              Tag = 18
              OnMouseMove = HintMouseMove
              PopupMenu = RxPopupMenu1
              OnDblClick = CopyToClpbrd
            end
          end
          object BodySheet: TTntTabSheet
            Caption = '<BODY>'
            object BodyEdit: TSynEdit
              Font.Charset = DEFAULT_CHARSET
              Font.Color = clWindowText
              Font.Height = -13
              Font.Name = 'Courier New'
              Font.Style = []
              Left = 0
              Top = 0
              Width = 592
              Height = 312
              Align = alClient
              Tag = 18
              OnMouseMove = HintMouseMove
              OnDblClick = CopyToClpbrd
            end
          end
          object WizardSheet: TTntTabSheet
            Caption = 'Script Wizard'
            TabVisible = False
          end
        end
      end
      object TabSheet3: TTntTabSheet
        Caption = 'Summary HTML code'
        object SummaryEdit: TSynEdit
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = -13
          Font.Name = 'Courier New'
          Font.Style = []
          Left = 0
          Top = 0
          Width = 600
          Height = 400
          Align = alClient
        end
      end
      object ColorTabSheet: TTntTabSheet
        Caption = 'Color Chooser'
        OnHide = ColorTabSheetHide
        OnShow = ColorTabSheetShow
        object ColorScrollBox: TScrollBox
          Left = 0
          Top = 0
          Width = 592
          Height = 406
          Align = alClient
          BorderStyle = bsNone
          object TntGroupBox1: TTntGroupBox
            Left = 4
            Top = 4
            Width = 244
            Height = 168
            Caption = 'HSV'
            object DegreeColorSlider: TRxSlider
              Left = 8
              Top = 16
              Width = 176
              Height = 32
              MaxValue = 359
              Increment = 1
              Value = 30
              OnChange = DegreeColorSliderChange
              OnMouseDown = HSV_SliderMouseDown
            end
            object DegreeEdit: TEdit
              Left = 190
              Top = 22
              Width = 46
              Height = 21
              ReadOnly = True
              Text = '000'#176
            end
            object SaturateLabel: TTntLabel
              Left = 12
              Top = 52
              Caption = 'Saturation'
            end
            object SaturateSlider: TRxSlider
              Left = 8
              Top = 64
              Width = 176
              Height = 32
              MaxValue = 255
              Increment = 1
              Value = 255
              OnChange = SaturateSliderChange
              OnMouseDown = HSV_SliderMouseDown
            end
            object SaturatePerEdit: TEdit
              Left = 190
              Top = 70
              Width = 46
              Height = 21
              ReadOnly = True
              Text = '100%'
            end
            object BrightLabel: TTntLabel
              Left = 12
              Top = 98
              Caption = 'Brightness'
            end
            object BrightSlider: TRxSlider
              Left = 8
              Top = 110
              Width = 176
              Height = 32
              MaxValue = 255
              Increment = 1
              Value = 255
              OnChange = BrightSliderChange
              OnMouseDown = HSV_SliderMouseDown
            end
            object BrightPerEdit: TEdit
              Left = 190
              Top = 116
              Width = 46
              Height = 21
              ReadOnly = True
              Text = '100%'
            end
            object OkColorImage: TImage
              Left = 12
              Top = 146
              Width = 16
              Height = 16
              Transparent = True
            end
            object ErrColorImage: TImage
              Left = 12
              Top = 146
              Width = 16
              Height = 16
              Transparent = True
              Visible = False
            end
            object ErColLabel: TTntLabel
              Left = 34
              Top = 148
              Caption = '....'
            end
          end
          object TntGroupBox2: TTntGroupBox
            Left = 252
            Top = 4
            Width = 130
            Height = 300
            Caption = 'RGB'
            object RSlider: TRxSlider
              Left = 10
              Top = 16
              Width = 32
              Height = 206
              Orientation = soVertical
              MaxValue = 255
              Increment = 1
              Value = 255
              OnChange = RGBSliderChange
              OnMouseDown = RGB_SliderMouseDown
            end
            object GSlider: TRxSlider
              Left = 50
              Top = 16
              Width = 32
              Height = 206
              Orientation = soVertical
              MaxValue = 255
              Increment = 1
              Value = 127
              OnChange = RGBSliderChange
              OnMouseDown = RGB_SliderMouseDown
            end
            object BSlider: TRxSlider
              Left = 90
              Top = 16
              Width = 32
              Height = 206
              Orientation = soVertical
              MaxValue = 255
              Increment = 1
              Value = 0
              OnChange = RGBSliderChange
              OnMouseDown = RGB_SliderMouseDown
            end
            object RedBinLabel: TLabel
              Left = 19
              Top = 226
              Caption = 'FF'
              Font.Style = [fsBold]
              ParentFont = False
            end
            object GreenBinLabel: TLabel
              Left = 59
              Top = 226
              Caption = 'FF'
              Font.Style = [fsBold]
              ParentFont = False
            end
            object BlueBinLabel: TLabel
              Left = 99
              Top = 226
              Caption = 'FF'
              Font.Style = [fsBold]
              ParentFont = False
            end
            object Shape3: TShape
              Left = 8
              Top = 244
              Width = 114
              Height = 22
              Shape = stRoundRect
            end
            object SummColorBin: TEdit
              Left = 8
              Top = 272
              Width = 64
              Height = 21
              ReadOnly = True
              Text = '#FFFFFF'
              OnChange = SummColorBinChange
            end
            object GreyCheckBox: TTntCheckBox
              Left = 78
              Top = 274
              Width = 48
              Height = 17
              Caption = 'Grey'
              OnClick = GreyCheckBoxClick
            end
          end
          object MainColorGrBox: TTntGroupBox
            Left = 4
            Top = 176
            Width = 244
            Height = 116
            Caption = 'Main Color'
            object InputColorLabel: TTntLabel
              Left = 8
              Top = 16
              Caption = 'Input Color'
            end
            object MainColorPanel: TPanel
              Left = 8
              Top = 32
              Width = 74
              Height = 26
              Caption = 'Unsafe'
              BevelOuter = bvLowered
            end
            object MainColHexEdit: TComboEdit
              Left = 8
              Top = 62
              Width = 74
              Height = 21
              ReadOnly = True
              Text = '#FFFFFF'
            end
            object RedBinEdit: TEdit
              Left = 8
              Top = 88
              Width = 24
              Height = 21
              Color = clRed
              Font.Color = clBlack
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
            object GreenBinEdit: TEdit
              Left = 33
              Top = 88
              Width = 24
              Height = 21
              Color = clLime
              Font.Color = clBlack
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
            object BlueBinEdit: TEdit
              Left = 58
              Top = 88
              Width = 24
              Height = 21
              Color = clBlue
              Font.Color = clWhite
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
            object SmartColorPanel: TPanel
              Left = 86
              Top = 32
              Width = 74
              Height = 26
              Caption = 'Smart'
              BevelOuter = bvLowered
            end
            object SmartColHexEdit: TComboEdit
              Left = 86
              Top = 62
              Width = 74
              Height = 21
              ReadOnly = True
              Text = '#FFFFFF'
            end
            object RedSmartEdit: TEdit
              Left = 86
              Top = 88
              Width = 24
              Height = 21
              Color = clRed
              Font.Color = clBlack
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
            object GreenSmartEdit: TEdit
              Left = 111
              Top = 88
              Width = 24
              Height = 21
              Color = clLime
              Font.Color = clBlack
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
            object BlueSmartEdit: TEdit
              Left = 136
              Top = 88
              Width = 24
              Height = 21
              Color = clBlue
              Font.Color = clWhite
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
            object SafeColorPanel: TPanel
              Left = 164
              Top = 32
              Width = 74
              Height = 26
              Caption = 'Safe'
              BevelOuter = bvLowered
            end
            object SafeColHexEdit: TComboEdit
              Left = 164
              Top = 62
              Width = 74
              Height = 21
              ReadOnly = True
              Text = '#FFFFFF'
            end
            object RedSafeEdit: TEdit
              Left = 164
              Top = 88
              Width = 24
              Height = 21
              Color = clRed
              Font.Color = clBlack
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
            object GreenSafeEdit: TEdit
              Left = 189
              Top = 88
              Width = 24
              Height = 21
              Color = clLime
              Font.Color = clBlack
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
            object BlueSafeEdit: TEdit
              Left = 214
              Top = 88
              Width = 24
              Height = 21
              Color = clBlue
              Font.Color = clWhite
              ParentFont = False
              ReadOnly = True
              Text = '0'
            end
          end
          object ColorBaseGroup: TRadioGroup
            Left = 4
            Top = 294
            Width = 244
            Height = 38
            Caption = 'Base Color'
            Columns = 3
            Items.Strings = (
              'Unsafe'
              'Smart'
              'Safe')
            ItemIndex = 1
            OnClick = ColorBaseGroupClick
          end
          object ColorPalGroup: TTntGroupBox
            Left = 386
            Top = 4
            Width = 304
            Height = 300
            Caption = 'Color palette'
            object ClPanel1: TPanel
              Left = 8
              Top = 16
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel2: TPanel
              Left = 56
              Top = 16
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel3: TPanel
              Left = 104
              Top = 16
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel4: TPanel
              Left = 152
              Top = 16
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel5: TPanel
              Left = 200
              Top = 16
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel6: TPanel
              Left = 248
              Top = 16
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel7: TPanel
              Left = 8
              Top = 38
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel8: TPanel
              Left = 56
              Top = 38
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel9: TPanel
              Left = 104
              Top = 38
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel10: TPanel
              Left = 152
              Top = 38
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel11: TPanel
              Left = 200
              Top = 38
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel12: TPanel
              Left = 248
              Top = 38
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel13: TPanel
              Left = 8
              Top = 60
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel14: TPanel
              Left = 56
              Top = 60
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel15: TPanel
              Left = 104
              Top = 60
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel16: TPanel
              Left = 152
              Top = 60
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel17: TPanel
              Left = 200
              Top = 60
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel18: TPanel
              Left = 248
              Top = 60
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel19: TPanel
              Left = 8
              Top = 82
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel20: TPanel
              Left = 56
              Top = 82
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel21: TPanel
              Left = 104
              Top = 82
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel22: TPanel
              Left = 152
              Top = 82
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel23: TPanel
              Left = 200
              Top = 82
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ClPanel24: TPanel
              Left = 248
              Top = 82
              Width = 46
              Height = 20
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object SourceColorPanel: TPanel
              Left = 8
              Top = 108
              Width = 150
              Height = 24
              BevelOuter = bvLowered
              Caption = '#'
              Tag = 20
              OnClick = SelectColorPal
              OnMouseMove = HintMouseMove
            end
            object ColorShemeRdoGr: TRadioGroup
              Left = 8
              Top = 134
              Width = 150
              Height = 160
              Caption = 'Color Scheme'
              Items.Strings = (
                'Achromatic '
                'Monochromatic '
                'Analogic'
                'Complementary'
                'Analogic&&Complement.'
                'Split Complementary'
                'Double Complementary'
                'Triadic')
              ItemIndex = 3
              OnClick = ColorSchemeChange
            end
            object OffsetLabel: TTntLabel
              Left = 164
              Top = 112
              Caption = 'Offset'
            end
            object OffsetEdit: TComboEdit
              Left = 204
              Top = 108
              Width = 58
              Height = 21
              Text = '0'
              OnButtonClick = OffsetEditClick
            end
            object Pie1: TPie
              Left = 266
              Top = 104
              Width = 32
              Height = 32
              Angles.StartAngle = 60
              Angles.EndAngle = 120
              Brush.Color = clYellow
            end
            object OffsetSlider: TRxSlider
              Left = 164
              Top = 136
              Width = 134
              Height = 32
              MinValue = 1
              MaxValue = 60
              Increment = 1
              Enabled = False
              Value = 30
              OnChange = OffsetSliderChange
            end
            object PrePanel0: TPanel
              Left = 166
              Top = 172
              Width = 132
              Height = 123
              BevelOuter = bvLowered
              OnClick = SelectColorPal
              object PrePanel1: TPanel
                Left = 6
                Top = 6
                Width = 80
                Height = 24
                BevelOuter = bvNone
                Tag = 20
                OnClick = SelectColorPal
                OnMouseMove = HintMouseMove
              end
              object PrePanel2: TPanel
                Left = 94
                Top = 6
                Width = 30
                Height = 87
                BevelOuter = bvNone
                Tag = 20
                OnClick = SelectColorPal
                OnMouseMove = HintMouseMove
              end
              object PrePanel3: TPanel
                Left = 45
                Top = 93
                Width = 79
                Height = 24
                BevelOuter = bvNone
                Tag = 20
                OnClick = SelectColorPal
                OnMouseMove = HintMouseMove
              end
              object PrePanel4: TPanel
                Left = 6
                Top = 30
                Width = 30
                Height = 87
                BevelOuter = bvNone
                Tag = 20
                OnClick = SelectColorPal
                OnMouseMove = HintMouseMove
              end
              object PrePanel5: TPanel
                Left = 45
                Top = 30
                Width = 41
                Height = 29
                BevelOuter = bvNone
                Tag = 20
                OnClick = SelectColorPal
                OnMouseMove = HintMouseMove
              end
              object PrePanel6: TPanel
                Left = 45
                Top = 65
                Width = 41
                Height = 28
                BevelOuter = bvNone
                Tag = 20
                OnClick = SelectColorPal
                OnMouseMove = HintMouseMove
              end
            end
          end
          object ColPalRdoGr: TRadioGroup
            Left = 252
            Top = 306
            Width = 130
            Height = 50
            Caption = 'Output'
            Columns = 2
            Items.Strings = (
              ''
              ''
              ''
              'Safe')
            ItemIndex = 3
            OnClick = ColPalRdoGrClick
          end
          object ZoomGroupBox: TTntGroupBox
            Left = 4
            Top = 334
            Width = 244
            Height = 56
            Caption = 'Zoom'
            object ZoomAutoChkBox: TCheckBox
              Left = 8
              Top = 14
              Width = 110
              Height = 17
              Caption = 'Auto capture'
              OnClick = ZoomAutoChkBoxClick
            end
            object ZoomColorEd: TComboEdit
              Left = 8
              Top = 32
              Width = 110
              Height = 21
              ReadOnly = True
              Text = '#'
              OnButtonClick = ZoomColorEdButtonClick
            end
            object ZoomSlider: TRxSlider
              Left = 200
              Top = 10
              Width = 30
              Height = 44
              Orientation = soVertical
              MinValue = 1
              MaxValue = 7
              Increment = 1
              Value = 4
            end
            object ZoRedBinEdit: TEdit
              Left = 124
              Top = 36
              Width = 22
              Height = 21
              ReadOnly = True
              Text = '0'
              Visible = False
              OnChange = ZoomColorChange
            end
            object ZoGreenBinEdit: TEdit
              Left = 148
              Top = 36
              Width = 22
              Height = 21
              ReadOnly = True
              Text = '0'
              Visible = False
              OnChange = ZoomColorChange
            end
            object ZoBlueBinEdit: TEdit
              Left = 172
              Top = 36
              Width = 22
              Height = 21
              ReadOnly = True
              Text = '0'
              Visible = False
              OnChange = ZoomColorChange
            end
          end
          object ClipbrdLabel: TTntLabel
            Left = 254
            Top = 364
            Caption = 'Clipboard'
          end
          object ClipColorEdit: TComboEdit
            Left = 306
            Top = 360
            Width = 76
            Height = 21
            Tag = 20
            OnMouseMove = HintMouseMove
            Text = '#'
            OnButtonClick = ClipColorEditButtonClick
          end
          object Panel4: TPanel
            Left = 4
            Top = 420
            Width = 686
            Height = 160
            BevelOuter = bvLowered
            object ColorHelpWebBrowser: TCppWebBrowser
              Left = 1
              Top = 1
              Width = 684
              Height = 158
              Align = alClient
            end
          end
          object Image2: TImage
            Left = 696
            Top = 6
            Width = 32
            Height = 32
            Anchors = [akTop, akRight]
            Transparent = True
          end
          object Palette2GroupBox: TglGroupBox
            Left = 386
            Top = 326
            Width = 368
            Height = 16
            Caption = 'Palette2'
            Collapsed = True
            Options = [fgoCanCollapse, fgoFilledCaption, fgoFluentlyCollapse, fgoFluentlyExpand, fgoHideChildrenWhenCollapsed, fgoSaveChildFocus]
            FullHeight = 105
            OnCollapsed = Palette2GroupBoxCollapsed
            OnExpanded = Palette2GroupBoxExpanded
            object Palette2Image: TImage
              Left = 2
              Top = 16
              Width = 364
              Height = 87
              AutoSize = True
              Cursor = crCross
              Tag = 21
              OnMouseDown = PaletteImageMouseDown
              OnMouseMove = Palette2ImageGetPixColor
            end
          end
          object Palette1GroupBox: TglGroupBox
            Left = 386
            Top = 306
            Width = 368
            Height = 16
            Caption = 'Palette1'
            Collapsed = True
            Options = [fgoCanCollapse, fgoFilledCaption, fgoFluentlyCollapse, fgoFluentlyExpand, fgoHideChildrenWhenCollapsed, fgoSaveChildFocus]
            FullHeight = 105
            OnCollapsed = Palette1GroupBoxCollapsed
            OnExpanded = Palette1GroupBoxExpanded
            object Palette1Image: TImage
              Left = 2
              Top = 16
              Width = 364
              Height = 87
              AutoSize = True
              Cursor = crCross
              Tag = 21
              OnMouseDown = PaletteImageMouseDown
              OnMouseMove = Palette1ImageGetPixColor
            end
          end
        end
      end
      object TabSheet4: TTntTabSheet
        Caption = 'Settings'
        object HighlightBox: TGroupBox
          Left = 8
          Top = 4
          Width = 210
          Height = 230
          Caption = 'Highlight'
          object EventColorLabel: TTntLabel
            Left = 8
            Top = 20
            Caption = 'Event'
          end
          object EventColorComboBox: TColorComboBox
            Left = 90
            Top = 16
            Width = 110
            Height = 21
            Style = csDropDownList
            OnChange = ColorComboBoxChange
          end
          object IdentColorLabel: TTntLabel
            Left = 8
            Top = 46
            Caption = 'Identifier'
          end
          object IdentColorComboBox: TColorComboBox
            Left = 90
            Top = 42
            Width = 110
            Height = 21
            Style = csDropDownList
            OnChange = ColorComboBoxChange
          end
          object KeyColorLabel: TTntLabel
            Left = 8
            Top = 72
            Caption = 'Key'
          end
          object KeyColorComboBox: TColorComboBox
            Left = 90
            Top = 68
            Width = 110
            Height = 21
            Style = csDropDownList
            OnChange = ColorComboBoxChange
          end
          object NonResColorLabel: TTntLabel
            Left = 8
            Top = 98
            Caption = 'Non reserved'
          end
          object NonResColorComboBox: TColorComboBox
            Left = 90
            Top = 94
            Width = 110
            Height = 21
            Style = csDropDownList
            OnChange = ColorComboBoxChange
          end
          object NumberColorLabel: TTntLabel
            Left = 8
            Top = 124
            Caption = 'Number'
          end
          object NumberColorComboBox: TColorComboBox
            Left = 90
            Top = 120
            Width = 110
            Height = 21
            Style = csDropDownList
            OnChange = ColorComboBoxChange
          end
          object StringColorLabel: TTntLabel
            Left = 8
            Top = 150
            Caption = 'String'
          end
          object StringColorComboBox: TColorComboBox
            Left = 90
            Top = 146
            Width = 110
            Height = 21
            Style = csDropDownList
            OnChange = ColorComboBoxChange
          end
          object SymbolColorLabel: TTntLabel
            Left = 8
            Top = 176
            Caption = 'Symbol'
          end
          object SymbolColorComboBox: TColorComboBox
            Left = 90
            Top = 172
            Width = 110
            Height = 21
            Style = csDropDownList
            OnChange = ColorComboBoxChange
          end
          object BackColorLabel: TTntLabel
            Left = 8
            Top = 202
            Caption = 'Background'
          end
          object BackColorComboBox: TColorComboBox
            Left = 90
            Top = 198
            Width = 110
            Height = 21
            Style = csDropDownList
            OnChange = ColorComboBoxChange
          end
        end
        object LangBox: TTntGroupBox
          Left = 226
          Top = 4
          Width = 160
          Height = 130
          Caption = 'Language'
          object LangListBox: TFileListBox
            Left = 8
            Top = 18
            Width = 144
            Height = 104
            Mask = '*.lng'
            OnChange = SelectLang
          end
        end
        object ShowExportCheckBox: TTntCheckBox
          Left = 226
          Top = 142
          Width = 200
          Height = 17
          Caption = 'Show exported HTML by IE'
        end
        object OperaLabel: TTntLabel
          Left = 226
          Top = 168
          Caption = 'Opera'
        end
        object OperaEdit: TFilenameEdit
          Left = 226
          Top = 184
          Width = 200
          Height = 21
          Text = 'Opera'
          Filter = 'Executable files (*.exe)|*.exe'
          AcceptFiles = True
          OnChange = OperaEditChange
        end
        object FireFoxLabel: TTntLabel
          Left = 226
          Top = 210
          Caption = 'FireFox'
        end
        object FireFoxEdit: TFilenameEdit
          Left = 226
          Top = 226
          Width = 200
          Height = 21
          Text = 'FireFox'
          Filter = 'Executable files (*.exe)|*.exe'
          AcceptFiles = True
          OnChange = FireFoxEditChange
        end
        object DataBasesLabel: TLabel
          Left = 436
          Top = 4
          Caption = 'JS DataBases'
        end
        object DBListBox: TFileListBox
          Left = 436
          Top = 20
          Width = 150
          Height = 114
          Mask = '*.quorvane;*.zelk'
          OnDblClick = DBListBoxSelect
        end
        object SettEdit: TSynEdit
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = -13
          Font.Name = 'Courier New'
          Font.Style = []
          Left = 0
          Top = 256
          Width = 592
          Height = 144
          Anchors = [akLeft, akTop, akRight, akBottom]
          Lines.Strings = (
        '<html>'
        '<head>'
        '<script language="JavaScript">'
        'var text = "Sample"; // a comment'
        'document.write(text + 123);'
        '</script>'
        '</head>'
        '<body bgcolor="#FFFFFF">'
        '</body>'
        '</html>')
        end
      end
    end
  end
  object TntMemo1: TTntMemo
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    Visible = False
    WordWrap = False
  end
  object StringGrid1: TStringGrid
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    ColCount = 10
    Visible = False
  end
  object TmpHeadEdit: TRichEdit
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    PlainText = True
    Visible = False
  end
  object TmpBody_Edit: TRichEdit
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    PlainText = True
    Visible = False
  end
  object TmpBodyEdit: TRichEdit
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    PlainText = True
    Visible = False
  end
  object MainMenu: TTntMainMenu
    object MenuFile: TTntMenuItem
      Caption = '&File'
      object MenuOpen: TTntMenuItem
        Caption = '&Open...'
        OnClick = MenuOpen1Click
      end
      object MenuExport: TTntMenuItem
        Caption = 'Export ->'
        Enabled = False
        OnClick = MenuExport1Click
      end
      object MenuExit: TTntMenuItem
        Caption = 'Exit'
        OnClick = CloseApplication
      end
    end
    object MenuView: TTntMenuItem
      Caption = 'View'
      object MenuSource: TTntMenuItem
        Caption = 'Source code'
        OnClick = MenuSource1Click
      end
      object MenuSummary: TTntMenuItem
        Caption = 'Summary HTML code'
      end
      object MenuPreview: TTntMenuItem
        Caption = 'Preview'
        OnClick = MenuPreviewClick
      end
      object MenuInfoPanel: TTntMenuItem
        Caption = 'Description'
        Checked = True
        OnClick = MenuInfoPanel1Click
      end
      object MenuSettings: TTntMenuItem
        Caption = 'Settings'
        OnClick = SettButtonClick
      end
      object MenuColorChooser: TTntMenuItem
        Caption = 'Color Chooser'
        OnClick = ColorButtonClick
      end
    end
    object MenuHelp: TTntMenuItem
      Caption = 'Help'
      object MenuContents: TTntMenuItem
        Caption = '&Contents'
        OnClick = MenuHelpClick
      end
      object MenuHomePage: TTntMenuItem
        Caption = 'HomePage'
        OnClick = MenuHomePage1Click
      end
      object MenuAbout: TTntMenuItem
        Caption = '&About...'
        OnClick = MenuAbout1Click
      end
    end
  end
  object ToolImages: TImageList
  end
  object JScriptSyn: TSynJScriptSyn
  end
  object SynHTMLSyn: TSynHTMLSyn
  end
  object PopupMenu1: TPopupMenu
    OnPopup = CopyToClpbrd
  end
  object RxPopupMenu1: TRxPopupMenu
    AutoHotkeys = maManual
    Style = msOwnerDraw
    object TagsItem: TMenuItem
      Caption = 'Tags'
      object TagItem1: TMenuItem
        Caption = 'A'
        object TagItem2: TMenuItem
          Caption = '<A></A>'
          OnClick = InsertTag
        end
        object TagItem3: TMenuItem
          Caption = '<A>------------->'
          object TagItem4: TMenuItem
            Caption = 'href=""'
            OnClick = InsertTag
          end
          object TagItem5: TMenuItem
            Caption = 'name=""'
            OnClick = InsertTag
          end
          object TagItem6: TMenuItem
            Caption = 'target=""'
            OnClick = InsertTag
          end
          object TagItem7: TMenuItem
            Caption = 'target---->'
            object TagItem8: TMenuItem
              Caption = '_blank'
              OnClick = InsertTag
            end
            object TagItem9: TMenuItem
              Caption = '_parent'
              OnClick = InsertTag
            end
            object TagItem10: TMenuItem
              Caption = '_search'
              OnClick = InsertTag
            end
            object TagItem11: TMenuItem
              Caption = '_self'
              OnClick = InsertTag
            end
            object TagItem12: TMenuItem
              Caption = '_top'
              OnClick = InsertTag
            end
          end
          object TagItem13: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem14: TMenuItem
          Caption = '<ABBR></ABBR>'
          OnClick = InsertTag
        end
        object TagItem15: TMenuItem
          Caption = '<ACRONYM></ACRONYM>'
          OnClick = InsertTag
        end
        object TagItem16: TMenuItem
          Caption = '<ADDRESS></ADDRESS>'
          OnClick = InsertTag
        end
        object TagItem17: TMenuItem
          Caption = '<AREA></AREA>'
          OnClick = InsertTag
        end
        object TagItem18: TMenuItem
          Caption = '<AREA>---------->'
          object TagItem19: TMenuItem
            Caption = 'coords=""'
            OnClick = InsertTag
          end
          object TagItem20: TMenuItem
            Caption = 'href=""'
            OnClick = InsertTag
          end
          object TagItem21: TMenuItem
            Caption = 'nohref'
            OnClick = InsertTag
          end
          object TagItem22: TMenuItem
            Caption = 'shape=""'
            OnClick = InsertTag
            object TagItem23: TMenuItem
              Caption = 'rect'
              OnClick = InsertTag
            end
            object TagItem24: TMenuItem
              Caption = 'circ'
              OnClick = InsertTag
            end
            object TagItem25: TMenuItem
              Caption = 'poly'
              OnClick = InsertTag
            end
          end
        end
      end
      object TagItem26: TMenuItem
        Caption = 'B'
        object TagItem27: TMenuItem
          Caption = '<B></B>'
          OnClick = InsertTag
        end
        object TagItem28: TMenuItem
          Caption = '<B>------------->'
          object TagItem29: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem30: TMenuItem
          Caption = '<BIG></BIG>'
          OnClick = InsertTag
        end
        object TagItem31: TMenuItem
          Caption = '<BIG>---------->'
          object TagItem32: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem33: TMenuItem
          Caption = '<BLOCKQUOTE></BLOCKQUOTE>'
          OnClick = InsertTag
        end
        object TagItem34: TMenuItem
          Caption = '<BR>'
          OnClick = InsertTag
        end
        object TagItem35: TMenuItem
          Caption = '<BUTTON> </BUTTON>'
          OnClick = InsertTag
        end
        object TagItem36: TMenuItem
          Caption = '<BUTTON>---->'
          object TagItem37: TMenuItem
            Caption = 'disabled'
            OnClick = InsertTag
          end
          object TagItem38: TMenuItem
            Caption = 'style'
            OnClick = InsertTag
          end
          object TagItem39: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
          object TagItem40: TMenuItem
            Caption = 'type=""'
            OnClick = InsertTag
          end
        end
      end
      object TagItem41: TMenuItem
        Caption = 'C'
        object TagItem42: TMenuItem
          Caption = '<CENTER></CENTER>'
          OnClick = InsertTag
        end
        object TagItem43: TMenuItem
          Caption = '<CITE></CITE>'
          OnClick = InsertTag
        end
        object TagItem44: TMenuItem
          Caption = '<CITE>----------->'
          object TagItem45: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem46: TMenuItem
          Caption = '<CODE></CODE>'
          OnClick = InsertTag
        end
        object TagItem47: TMenuItem
          Caption = '<CODE>----------->'
          object TagItem48: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
      end
      object TagItem49: TMenuItem
        Caption = 'D'
        object TagItem50: TMenuItem
          Caption = '<DD></DD>'
          OnClick = InsertTag
        end
        object TagItem51: TMenuItem
          Caption = '<DFN></DFN>'
          OnClick = InsertTag
          object TagItem52: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem53: TMenuItem
          Caption = '<DL></DL>'
          OnClick = InsertTag
          object TagItem54: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem55: TMenuItem
          Caption = '<DT></DT>'
          OnClick = InsertTag
          object TagItem56: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
      end
      object TagItem57: TMenuItem
        Caption = 'E'
        object TagItem58: TMenuItem
          Caption = '<EM></EM>'
          OnClick = InsertTag
        end
      end
      object TagItem59: TMenuItem
        Caption = 'F'
        object TagItem60: TMenuItem
          Caption = '<FIELDSET></FIELDSET>'
          OnClick = InsertTag
        end
        object TagItem61: TMenuItem
          Caption = '<FONT></FONT>'
          object TagItem62: TMenuItem
            Caption = 'size=""'
            OnClick = InsertTag
          end
          object TagItem63: TMenuItem
            Caption = 'color=""'
            OnClick = InsertTag
          end
        end
      end
      object TagItem64: TMenuItem
        Caption = 'H'
        object TagItem65: TMenuItem
          Caption = '<H1></H>'
          object TagItem66: TMenuItem
            Caption = 'align=""'
            OnClick = InsertTag
          end
          object TagItem67: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem68: TMenuItem
          Caption = '<H2></H2>'
          object TagItem69: TMenuItem
            Caption = 'align=""'
            OnClick = InsertTag
          end
          object TagItem70: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem71: TMenuItem
          Caption = '<H3></H3>'
          object TagItem72: TMenuItem
            Caption = 'align=""'
            OnClick = InsertTag
          end
          object TagItem73: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem74: TMenuItem
          Caption = '<H4></H4>'
          object TagItem75: TMenuItem
            Caption = 'align=""'
            OnClick = InsertTag
          end
          object TagItem76: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem77: TMenuItem
          Caption = '<H5></H5>'
          object TagItem78: TMenuItem
            Caption = 'align=""'
            OnClick = InsertTag
          end
          object TagItem79: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem80: TMenuItem
          Caption = '<H6></H6>'
          object TagItem81: TMenuItem
            Caption = 'align=""'
            OnClick = InsertTag
          end
          object TagItem82: TMenuItem
            Caption = 'title=""'
            OnClick = InsertTag
          end
        end
        object TagItem83: TMenuItem
          Caption = '<HR>'
          OnClick = InsertTag
          object TagItem84: TMenuItem
            Caption = 'size=""'
            OnClick = InsertTag
          end
          object TagItem85: TMenuItem
            Caption = 'width=""'
            OnClick = InsertTag
          end
          object TagItem86: TMenuItem
            Caption = 'noshade'
            OnClick = InsertTag
          end
          object TagItem87: TMenuItem
            Caption = 'color=""'
            OnClick = InsertTag
          end
        end
      end
      object TagItem88: TMenuItem
        Caption = 'I'
        object TagItem89: TMenuItem
          Caption = '<I></I>'
          OnClick = InsertTag
        end
        object TagItem90: TMenuItem
          Caption = '<IFRAME></IFRAME>'
          object TagItem91: TMenuItem
            Caption = 'frameborder=""'
            OnClick = InsertTag
          end
          object TagItem92: TMenuItem
            Caption = 'height=""'
            OnClick = InsertTag
          end
          object TagItem93: TMenuItem
            Caption = 'name=""'
            OnClick = InsertTag
          end
          object TagItem94: TMenuItem
            Caption = 'scrolling=""'
            OnClick = InsertTag
          end
          object TagItem95: TMenuItem
            Caption = 'src=""'
            OnClick = InsertTag
          end
          object TagItem96: TMenuItem
            Caption = 'width=""'
            OnClick = InsertTag
          end
        end
      end
    end
  end
  object OpenDialog: TOpenDialog
    DefaultExt = 'quorvane'
    Filter = 'Quorvane DataBase|*.quorvane;*.zelk'
  end
  object SaveDialog1: TSaveDialog
    DefaultExt = 'htm'
    FileName = 'temp'
    Filter = 'WebPage (*.htm,*.html)|*.htm;*.html'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
  end
  object ReplaceDialog1: TReplaceDialog
  end
  object Timer1: TTimer
    OnTimer = Timer1Timer
  end
end
